// The dialogue player's scene: running the steps, the click latch, waits, the closing fade, the
// skip button and the black bars.
#include "gui/dialogue.hpp"

#include <cmath>

#include "core/glyphfont.hpp"
#include "core/strings.hpp"
#include "gui/audio2.hpp"
#include "gui/dialogues.hpp"
#include "gui/gui2.hpp"
#include "gui/textbutton.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"
#include "platform/graphics.hpp"

namespace {

// The black bars over the top and bottom edges while a dialogue plays, fully shown.
constexpr float kBarHeight = 32;
// Room between the skip button and the screen's edge or the bar.
constexpr float kSkipAir = 6;

}  // namespace

int DialogueCallback::Call(GUIItem* sender) {
    if (sender != nullptr && sender->id == "skip" && dialogue != nullptr) dialogue->Stop();
    return 0;
}

GUIDialogue::GUIDialogue(const std::string& dialogueId, int suspendList) : suspend(suspendList) {
    id = "dialogue";
    dialogue = DialogueList::Get(dialogueId);
    if (suspend == 1) {
        GUIList::FadeOut("menu", "");
        GUIList::FadeOut("profile", "");
        GUIList::Suspend();
    }
    AddSkipButton();
    FadeIn(1.0f, 1);
}

GUIDialogue::~GUIDialogue() {
    for (auto& actor : actors) actor->Clear2();
    if (text) text->Clear2();
}

void GUIDialogue::AddSkipButton() {
    GUITextButton* skip =
        GUITextButton::Create(0, 0, "Buttons01", "Skip >>", Fonts::Get("on"), 16777215, &dialogueCallback, 0);
    skip->data = 0;
    skip->id = "skip";
    // In the bottom right corner, standing on the lower black bar rather than across it. The
    // alignment pads count in layout units.
    skip->padX = static_cast<int>(std::ceil(kSkipAir / Data::layoutScaleX));
    skip->padY = static_cast<int>(std::ceil((kBarHeight + kSkipAir) / Data::layoutScaleY));
    GUIList::Add(skip, 1600, kAlignRight, kAlignBottom);
}

void GUIDialogue::Clear2() {
    GUIItem::Clear2();
    for (auto& actor : actors) actor->Clear2();
    actors.clear();
    DropText();
}

void GUIDialogue::DropText() {
    if (!text) return;
    text->Clear2();
    text.reset();
}

DialogueActor* GUIDialogue::getActor(const std::string& actorId) {
    for (auto& actor : actors) {
        if (actor->id == actorId) return actor.get();
    }
    return nullptr;
}

int GUIDialogue::FindLabel(const std::string& label) const {
    if (dialogue == nullptr) return -1;
    const auto& steps = dialogue->elements;
    for (size_t i = 0; i < steps.size(); ++i) {
        if (steps[i].type == "label" && steps[i].id == label) return static_cast<int>(i);
    }
    return -1;
}

void GUIDialogue::CheckRotate() {
    if (!Data::screenRotated) return;
    GUIList::Delete("skip", "");
    AddSkipButton();
    for (auto& actor : actors) actor->CheckRotate();
    if (text) text->CheckRotate();
}

int GUIDialogue::Update2() {
    GUIItem::Update2();
    // The list may drop a faded item before its input step sees the end of the fade.
    if (fading && alpha.value <= 0.0f) Stop();
    return 0;
}

int GUIDialogue::UpdateAction() {
    if (stopped) return 0;
    CheckRotate();
    if (Data::backPressed) {
        Data::backPressed = 0;
        Stop();
        return 0;
    }
    if (wait > 0) {
        wait -= Data::frameMs;
        return 0;
    }
    if (fading) {
        if (alpha.value <= 0.0f) Stop();
        return 0;
    }
    if (text) {
        text->Update2();
        if (!Data::mouseHeld) {
            ok = 1;
            return 0;
        }
        if (!ok) return 0;
        ok = 0;
        if (!text->done) {
            text->count = 65535;
            return 0;
        }
        DropText();
    }
    const int steps = dialogue != nullptr ? static_cast<int>(dialogue->elements.size()) : 0;
    if (currentIndex >= steps) {
        FadeOut(500, 1);
        fading = 1;
        return 0;
    }
    // Steps that do not block run on in the same frame, but a jump back over them cannot keep
    // the frame from ending: at most one pass over the script each frame.
    for (int ran = 0; currentIndex < steps && ran <= steps; ++ran) {
        const DialogueElement& step = dialogue->elements[static_cast<size_t>(currentIndex)];
        ++currentIndex;
        if (parseElement(step) == 1) break;
    }
    return 0;
}

int GUIDialogue::parseElement(const DialogueElement& step) {
    const std::string& type = step.type;
    if (type == "music") {
        Audio::PlayMusic(StringToInt(step.id));
    } else if (type == "enter") {
        actors.push_back(
            std::make_unique<DialogueActor>(step.id, step.left, step.image, step.index, step.x, 1, 1));
        if (step.block == 1) wait = 500;
    } else if (type == "move") {
        if (DialogueActor* actor = getActor(step.id)) {
            if (!step.image.empty()) {
                actor->image = FindImage(step.image);
                actor->frame = step.index;
            }
            if (step.x != 0) {
                actor->Move3(actor->x.value + static_cast<float>(actor->left ? step.x : -step.x));
            }
        }
    } else if (type == "goto") {
        if (step.ConditionsHold()) {
            const int target = FindLabel(step.id);
            if (target >= 0) currentIndex = target;
        }
    } else if (type == "flag") {
        if (step.ConditionsHold()) {
            if (step.left == 1) {
                Profile::SetFlagInt(step.text, step.value);
            } else {
                Profile::AddFlagInt(step.text, step.value);
            }
        }
    } else if (type == "text") {
        if (step.ConditionsHold()) {
            DropText();
            if (step.id.empty()) {
                text = std::make_unique<DialogueText>(0, 0, "", step.text, 0);
                const float f = Data::virtualWidth > Data::virtualHeight ? 0.25f : 0.45f;
                text->SetPos2(static_cast<int>((Data::virtualWidth - text->w) * 0.5f),
                              static_cast<int>((Data::virtualHeight - text->h) * f));
            } else {
                const bool wide = Data::virtualWidth > Data::virtualHeight;
                text = std::make_unique<DialogueText>(100, 100, wide ? "Bubble" : "Bubble2", step.text,
                                                      wide ? 0 : 1);
                if (DialogueActor* speaker = getActor(step.id)) text->SetActor(speaker);
            }
        }
    } else if (type == "wait") {
        wait = static_cast<float>(step.value);
    } else if (type == "exit") {
        if (DialogueActor* actor = getActor(step.id)) actor->DoExit();
        if (step.block == 1) wait = 500;
    }
    return step.block;
}

void GUIDialogue::RunRemainingFlags() {
    if (dialogue == nullptr) return;
    const int steps = static_cast<int>(dialogue->elements.size());
    for (int ran = 0; currentIndex < steps && ran <= steps; ++ran) {
        const DialogueElement& step = dialogue->elements[static_cast<size_t>(currentIndex)];
        ++currentIndex;
        if (step.type == "flag" || step.type == "goto") parseElement(step);
    }
}

void GUIDialogue::Stop() {
    if (stopped) return;
    stopped = 1;
    RunRemainingFlags();
    DropText();
    GUIList::Delete("skip", "");
    GUIList::Remove(this);
    if (suspend == 1) GUIList::Resume();
    if (callback != nullptr) callback->Call(nullptr);
}

void GUIDialogue::Render() {
    const float a = fading ? alpha.value : 1.0f;
    for (auto& actor : actors) actor->Render(a);
    if (alpha.value > 0.0f) {
        const int bar = static_cast<int>(alpha.value * kBarHeight);
        platform::SetAlpha(1.0f);
        platform::SetColor(0, 0, 0);
        platform::DrawRect(0, 0, static_cast<float>(Data::virtualWidth), static_cast<float>(bar));
        platform::DrawRect(0, static_cast<float>(Data::virtualHeight - bar),
                           static_cast<float>(Data::virtualWidth), static_cast<float>(bar));
        platform::SetColor(255, 255, 255);
    }
    if (text) text->Render(a);
    platform::SetAlpha(1.0f);
}
