// The status corner: clock text, date text, the running clock and the corner layout.
#include "gui/time.hpp"

#include <algorithm>
#include <array>
#include <utility>

#include "core/glyphfont.hpp"
#include "framework/framework.hpp"
#include "gui/gui2.hpp"
#include "gui/image.hpp"
#include "gui/text.hpp"
#include "model/data2.hpp"
#include "model/profile.hpp"

namespace {

const std::string& TimeKey() {
    static const std::string key = "Date.Time";
    return key;
}

const std::string& RankKey() {
    static const std::string key = "Level.Resource.Reputation";
    return key;
}

GUIText* CornerText(const std::string& text, const char* font, int colour, const char* name, int priority) {
    GUIText* t = GUIText::Create(0, 0, text, Fonts::Get(font), colour);
    t->id = "time";
    t->name = name;
    GUIList::Add(t, priority);
    return t;
}

// A figure's shadow: the same figure in black, a pixel down and right, drawn just under it. The
// figures' thin outline and light fill lie close to a mid-dark roof's brightness on either side,
// and as the map's evening shade deepens such a roof can come to sit between them; the shadow keeps
// a dark edge against it at every hour.
GUIText* FigureShadow(const char* flag, const char* name) {
    GUIText* t = CornerText("0", "os", 0x000000, name, 1999);
    t->SetFlag(flag);
    t->left = 0;
    return t;
}

constexpr float kShadowOffset = 1;

GUIImage* CornerIcon(int frame, const char* name) {
    GUIImage* i = GUIImage::Create(0, 0, "Icons02", frame);
    i->scale.value = 0.5f;
    i->id = "time";
    i->name = name;
    GUIList::Add(i, 2000);
    return i;
}

// Sets a text unless it already reads so, keeping its right edge.
void ShowRightAligned(GUIText* t, const std::string& text) {
    if (t->text == text) return;
    const int oldW = t->w;
    t->SetText(text);
    t->x += static_cast<float>(oldW - t->w);
}

}  // namespace

std::string ClockText(int minutes) {
    int value;
    const char* suffix;
    if (minutes + 480 < 720) {
        value = minutes + 480;
        suffix = "AM";
    } else {
        value = minutes - 240;
        suffix = "PM";
    }
    int hour = value / 60;
    int minute = value % 60;
    if (hour == 0) hour = 12;
    return std::to_string(hour) + (minute > 9 ? ":" : ":0") + std::to_string(minute) + suffix;
}

GUITime::GUITime() {
    dname = CornerText(Profile::GetFlagString("Name"), "on", 0xffffff, "name", 2000);
    replevel = Profile::GetFlagInt(RankKey());
    drep = CornerText(Profile::RankTitle(replevel), "oxs", 0xffffff, "reputation", 2001);
    dd = CornerText("Jan 1", "os", 0xffffff, "date", 2000);
    dt = CornerText("10:10AM", "os", 0xffffff, "time", 2000);
    sms = FigureShadow("Resource.Money", "money shadow");
    sm = CornerText("0", "os", 0xffff80, "money", 2000);
    sm->SetFlag("Resource.Money");
    sm->left = 0;
    smi = CornerIcon(3, "micon");
    srs = FigureShadow("Resource.Reputation", "reputation shadow");
    sr = CornerText("0", "os", 0xff80ff, "reputation", 2000);
    sr->SetFlag("Resource.Reputation");
    sr->left = 0;
    sri = CornerIcon(4, "ricon");
    parts = {dname, drep, dd, dt, sm, smi, sr, sri, sms, srs};
    for (size_t i = 0; i < parts.size(); ++i) partClears[i] = parts[i]->clearCount;
    UpdateTime();
    UpdatePos();
    last = Profile::GetFlagInt(TimeKey());
    time.value = static_cast<float>(last);
}

GUITime::~GUITime() {
    Data::KillTweens(&time);
}

void GUITime::Clear2() {
    GUIItem::Clear2();
    Data::KillTweens(&time);
}

bool GUITime::PartsAlive() const {
    for (size_t i = 0; i < parts.size(); ++i) {
        if (parts[i] == nullptr || parts[i]->clearCount != partClears[i]) return false;
    }
    return true;
}

std::string GUITime::GetDateText() {
    static constexpr std::array<const char*, 12> kMonths = {"Jan ", "Feb ", "Mar ", "Apr ", "May ", "Jun ",
                                                            "Jul ", "Aug ", "Sep ", "Oct ", "Nov ", "Dec "};
    const int month = Profile::GetFlagInt("Date.Month");
    const std::string day = std::to_string(Profile::GetFlagInt("Date.Day") + 1);
    if (month < 0 || month >= static_cast<int>(kMonths.size())) return day;
    return kMonths[static_cast<size_t>(month)] + day;
}

void GUITime::UpdateTime() {
    if (!PartsAlive()) return;
    ShowRightAligned(dd, GetDateText());
    ShowRightAligned(dt, ClockText(TruncToInt(time.value)));
}

namespace {

// The rows of a text's box above its first inked row.
int BlankTop(const GUIText& text) {
    if (text.font == nullptr) return 0;
    int top = -1;
    for (unsigned char c : text.text) {
        const Char* glyph = text.font->GetChar(c);
        if (glyph == nullptr || glyph->height == 0) continue;
        top = top < 0 ? glyph->yOffset : std::min(top, glyph->yOffset);
    }
    return std::max(0, top);
}

}  // namespace

void GUITime::UpdatePos() {
    if (!PartsAlive()) return;
    const float W = static_cast<float>(Data::virtualWidth);
    dname->x = W - static_cast<float>(dname->w) - 8;
    dname->y = 8;
    drep->x = dname->x + static_cast<float>(dname->w - drep->w) * 0.5f;
    // Tucked up to 8 under the name, as far as the rank's blank top rows go: a name with a tail
    // ("p", "y", "Q") reaches its full height, and the rank is not drawn over it.
    drep->y = dname->y + static_cast<float>(dname->h) - static_cast<float>(std::min(8, BlankTop(*drep)));
    dt->x = W - static_cast<float>(dt->w) - 8;
    dt->y = drep->y + static_cast<float>(drep->h);
    dd->x = dt->x - static_cast<float>(dd->w) - 8;
    dd->y = dt->y;
    sm->x = W - static_cast<float>(sm->w) - 8;
    sm->y = dd->y + static_cast<float>(dd->h);
    sr->x = W - static_cast<float>(sr->w) - 8;
    sr->y = sm->y + static_cast<float>(sm->h);
    smi->x = sm->x - static_cast<float>(smi->w) * 0.75f;
    smi->y = sm->y - static_cast<float>(smi->h) * 0.25f;
    sri->x = sr->x - static_cast<float>(sri->w) * 0.75f;
    sri->y = sr->y - static_cast<float>(sri->h) * 0.25f;
    for (auto [shadow, figure] : {std::pair{sms, sm}, std::pair{srs, sr}}) {
        shadow->x = figure->x + kShadowOffset;
        shadow->y = figure->y + kShadowOffset;
    }
}

void GUITime::CheckRotate() {
    if (Data::screenRotated) UpdatePos();
}

int GUITime::Update2() {
    GUIItem::Update2();
    CheckRotate();
    if (!active) return 0;
    const int a = Profile::GetFlagInt(TimeKey());
    if (a > last) {
        Data::KillTweens(&time);
        Data::AddTween(&time, (a - last) * 50, time.value, static_cast<float>(a));
        last = a;
    } else if (a < last) {
        // A new day: no running the clock backwards through the night.
        last = a;
        Data::KillTweens(&time);
        time.value = static_cast<float>(a);
    }
    const int rank = Profile::GetFlagInt(RankKey());
    if (rank != replevel && PartsAlive()) {
        replevel = rank;
        drep->SetText(Profile::RankTitle(replevel));
    }
    UpdateTime();
    UpdatePos();
    return 0;
}
