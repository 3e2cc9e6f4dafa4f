// The rules of the crowd-search distress game.
#include "minigames/gamesearch.hpp"

#include <cmath>

#include "framework/framework.hpp"

void Person::Activate() {
    active = 0;
    if (type == 1) {
        image = 5;
        frame = 0;
        counter = 0;
        speed = 0;
    }
}

int Person::Frame() const {
    if (active == 0 && type == 1) return frame;
    return frame + TruncToInt(std::fmod(counter * speed * 3, 6.0f));
}

float Person::Scale() const {
    if (active == 0 && type == 1) return 1.25f + counter / 300;
    return 1.25f;
}

SearchRules::SearchRules(int difficulty, bool cluesActive, DistressRandom random, float width, float height)
    : DistressPlay(difficulty, cluesActive, std::move(random), width, height) {
    for (Person& person : persons) Init(person);
    for (int i = 0; i < kCrookDraws; ++i) {
        Person& person = persons[static_cast<size_t>(DrawInt(0, kPersons))];
        person.image = 5;
        person.type = 1;
    }
}

void SearchRules::Init(Person& person) {
    person.alpha = 0;
    person.active = 1;
    person.type = 0;
    person.image = DrawInt(0, 4) + 1;
    person.speed = Draw(0.045f, 0.065f);
    person.counter = Draw(0, 1000);
    person.xpos = Draw(24, width - 48);
    person.ypos = Draw(24, height - 48);
    NewDestination(person);
}

void SearchRules::NewDestination(Person& person) {
    person.xdest = person.xpos;
    person.ydest = person.ypos;
    if (DrawInt(0, 1000) < 500) {
        person.ydest = Draw(24, height - 48);
        person.frame = person.ydest >= person.ypos ? 0 : 18;
    } else {
        person.xdest = Draw(24, width - 48);
        person.frame = person.xdest >= person.xpos ? 12 : 6;
    }
}

namespace {

float Approach(float value, float dest, float step) {
    if (value < dest) return std::min(dest, value + step);
    if (value > dest) return std::max(dest, value - step);
    return value;
}

}  // namespace

void SearchRules::Update2(Person& person, float frameMs) {
    person.counter += frameMs * 0.075f;
    person.xpos = Approach(person.xpos, person.xdest, frameMs * person.speed);
    person.ypos = Approach(person.ypos, person.ydest, frameMs * person.speed);
    if (person.active != 0) {
        person.alpha = std::min(1.0f, person.alpha + frameMs * 0.0025f);
        if (person.xpos == person.xdest && person.ypos == person.ydest) NewDestination(person);
        return;
    }
    // A caught crook stays on show a while; a wrongly picked citizen just walks off.
    if (person.type == 1 && person.counter < 200) return;
    person.alpha -= frameMs * 0.0025f;
    if (person.alpha <= 0) Init(person);
}

void SearchRules::Update(const DistressInput& in) {
    BeginEvents();
    clock.Tick(in.frameMs);
    for (Person& person : persons) Update2(person, in.frameMs);
    if (!in.mouseHeld) {
        ok = 1;
        return;
    }
    if (done != 0 || ok == 0) return;
    ok = 0;
    for (Person& person : persons) {
        if (person.active == 0) continue;
        const float dx = static_cast<float>(TruncToInt(in.mouseX - person.xpos));
        const float dy = static_cast<float>(TruncToInt(in.mouseY - person.ypos));
        if (std::sqrt(dx * dx + dy * dy) >= kReach) continue;
        if (person.type == 1) {
            Score(2 * difficulty, in.mouseX, in.mouseY, in.mouseX, in.mouseY + 16);
        } else {
            Emit(DistressEvent::kWord, DrawInt(0, static_cast<int>(kWords.size())), in.mouseX, in.mouseY);
            Emit(DistressEvent::kSound, 14);
        }
        person.Activate();
        break;
    }
}

void SearchRules::Play(const DistressInput& /*in*/) {
    BeginEvents();
    if (done != 0 || clock.time > 0) return;
    done = 1;
    success = 1;
}

void SearchRules::CheckRotate(float newWidth, float newHeight) {
    width = newWidth;
    height = newHeight;
    const float f = width < height ? 2.0f : 0.5f;
    for (Person& person : persons) {
        person.xpos /= f;
        person.ypos *= f;
        NewDestination(person);
    }
}
