// The save-state format: the whole store as one text, "v0", the global record and one record per
// character slot, each a list of name and value pairs between "|" separators.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/flaglist.hpp"
#include "model/profile.hpp"
#include "platform/app.hpp"

namespace {

// Writes the pairs of one list. The format has no escaping, so a "|" would shift every pair after
// it (or forge a record): it is dropped from what is written, and so is a pair whose name or value
// is left empty, since an empty token ends the record.
void AppendFlags(std::string& out, const FlagList& list, int& stripped) {
    bool first = true;
    for (const FlagItem* item : list) {
        if (item == nullptr) continue;
        std::string name = item->name;
        std::string value = item->FormattedString();
        if (name.find('|') != std::string::npos || value.find('|') != std::string::npos) {
            std::erase(name, '|');
            std::erase(value, '|');
            ++stripped;
        }
        if (name.empty() || value.empty()) continue;
        if (!first) out += '|';
        first = false;
        out += name;
        out += '|';
        out += value;
    }
}

void ReportStripped(int stripped) {
    if (stripped > 0) {
        platform::PrintLine("Save state: removed \"|\" from " + std::to_string(stripped) +
                            " flag name(s) or value(s)");
    }
}

bool IsControl(unsigned char c) {
    return c < 32 || c == 127;
}

// Whether the text is well-formed UTF-8: no stray or missing continuation bytes, no overlong
// forms, no surrogates, nothing past U+10FFFF.
bool IsUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t extra = 0;
        uint32_t least = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            least = 0x10000;
        } else {
            return false;
        }
        if (text.size() - i <= extra) return false;
        uint32_t code = lead & (0x3Fu >> extra);
        for (size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

// Flag names come from the data files only: plain text, read a byte per character, so ASCII,
// UTF-8 or Latin-1, and never a control code. A name that is no UTF-8 can only be Latin-1, where
// the bytes 0x80 to 0x9F are control codes too.
bool WrittenName(std::string_view name) {
    bool highControl = false;
    for (char c : name) {
        const auto code = static_cast<unsigned char>(c);
        if (IsControl(code)) return false;
        if (code >= 0x80 && code <= 0x9F) highControl = true;
    }
    return !highControl || IsUtf8(name);
}

// Values are numbers, texts from the data files, the typed hero name (letters, digits and a few
// marks) and the statistics id, which is kept free of control codes but may hold any byte above.
bool WrittenValue(std::string_view value) {
    return std::none_of(value.begin(), value.end(),
                        [](char c) { return IsControl(static_cast<unsigned char>(c)); });
}

}  // namespace

SaveData::SaveData() {
    PadProfiles();
}

int SaveData::PadProfiles() {
    while (Profiles.Size() < 3) Profiles.Add(std::make_shared<FlagList>());
    return 0;
}

std::string SaveData::FlagsToString(const FlagList& list) const {
    std::string out;
    int stripped = 0;
    AppendFlags(out, list, stripped);
    ReportStripped(stripped);
    return out;
}

std::string SaveData::ToString() const {
    int stripped = 0;
    std::string out = "v0|G|";
    AppendFlags(out, Profile::globalFlags, stripped);
    out += "||";
    for (int i = 0; i < Profiles.Size(); ++i) {
        const SlotList& stored = Profiles.Get2(i);
        const FlagList* list = i == Profile::currentSlot ? Profile::slotFlags.get() : stored.get();
        out += "P|";
        if (list != nullptr) AppendFlags(out, *list, stripped);
        out += "||";
    }
    ReportStripped(stripped);
    return out;
}

int SaveData::FromString(const std::string& text) {
    // Every stored slot goes back to the pool, not only the bound one: a second load must not
    // strand the first load's items.
    for (const SlotList& list : Profiles) {
        if (list) ReleaseFlags(*list);
    }
    Profiles.Clear2();
    ReleaseFlags(Profile::globalFlags);
    ReleaseFlags(*Profile::slotFlags);
    // The live list is no longer any slot's list.
    Profile::currentSlot = -1;
    loadDamaged = 0;

    enum class Record { kNone, kGlobal, kSlot, kOther };
    int state = 0;
    bool firstToken = true;
    bool sawGlobal = false;
    int slotRecords = 0;
    Record record = Record::kNone;
    SlotList slot;
    std::string pendingName;
    int unwritten = 0;
    int longNames = 0;

    size_t start = 0;
    for (size_t bar = text.find('|'); bar != std::string::npos; bar = text.find('|', start)) {
        const std::string_view token(text.data() + start, bar - start);
        start = bar + 1;
        if (firstToken) {
            firstToken = false;
            if (token != "v0") {
                platform::PrintLine("ERROR - version not OK");
                Profile::InitGlobal();
                Profile::Init();
                PadProfiles();
                loadDamaged = 1;
                return 0;
            }
            continue;
        }
        if (state == 0) {
            if (token.empty()) continue;
            state = 1;
            if (token == "P") {
                record = Record::kSlot;
                slot = std::make_shared<FlagList>();
            } else if (token == "G") {
                record = Record::kGlobal;
                sawGlobal = true;
            } else {
                record = Record::kOther;
                loadDamaged = 1;
            }
        } else if (state == 1) {
            if (token.empty()) {
                if (record == Record::kSlot) {
                    Profiles.Add(slot);
                    slot.reset();
                    ++slotRecords;
                }
                state = 0;
            } else {
                pendingName.assign(token);
                state = 2;
            }
        } else {
            // The pairs of an unknown record are read past without taking pool items. The writer
            // never writes an empty value, so one here is damage; it would read as missing anyway.
            if (token.empty()) {
                loadDamaged = 1;
            } else if (record != Record::kOther) {
                std::string_view value = token;
                if (!WrittenName(pendingName) || !WrittenValue(value)) {
                    // Noise where pairs were (a block of the file overwritten, say) can take the
                    // place of whole pairs without moving a separator: left out, it is not
                    // carried into the next save, and the file is kept aside.
                    value = {};
                    ++unwritten;
                    loadDamaged = 1;
                } else if (record == Record::kSlot && pendingName == "Name" &&
                           value.size() > Profile::kMaxNameLength) {
                    // Every screen that shows the hero draws the name, and no hero was ever given
                    // a longer one.
                    value = value.substr(0, Profile::kMaxNameLength);
                    ++longNames;
                    loadDamaged = 1;
                }
                if (!value.empty()) {
                    FlagList& list = record == Record::kGlobal ? Profile::globalFlags : *slot;
                    list.Add(FlagItem::Create(pendingName, std::string(value)));
                }
            }
            state = 1;
        }
    }

    if (slot) ReleaseFlags(*slot);
    if (unwritten > 0) {
        platform::PrintLine("Save state: left out " + std::to_string(unwritten) +
                            " flag(s) holding bytes the game never writes");
    }
    if (longNames > 0) {
        platform::PrintLine("Save state: cut " + std::to_string(longNames) + " hero name(s) to " +
                            std::to_string(Profile::kMaxNameLength) + " characters");
    }
    // A record left open, bytes after the last separator, a missing global record or fewer than
    // three slots: the text was cut or damaged, so part of it may be lost.
    if (firstToken ? !text.empty() : (state != 0 || start < text.size() || !sawGlobal || slotRecords < 3)) {
        loadDamaged = 1;
    }

    PadProfiles();
    if (Profile::globalFlags.IsEmpty()) {
        Profile::InitGlobal();
    } else {
        // A global record cut short would leave sound off and the screen small: settings it no
        // longer holds take their defaults, stored values stay.
        for (const GlobalDefault& d : kGlobalDefaults) {
            if (Profile::GetGlobalFlag(d.name) == nullptr) Profile::SetGlobalFlagInt(d.name, d.value);
        }
    }
    return 0;
}

FlagItem* SaveData::GetFlag(int slot, const std::string& name) const {
    const SlotList list = Profiles.Get2(slot);
    return list ? FindFlag(*list, name) : nullptr;
}

std::string SaveData::GetFlagString(int slot, const std::string& name) const {
    const FlagItem* item = GetFlag(slot, name);
    return item != nullptr ? item->GetString() : std::string();
}

int SaveData::GetFlagInt(int slot, const std::string& name) const {
    const FlagItem* item = GetFlag(slot, name);
    return item != nullptr ? item->GetInt() : 0;
}

int SaveData::Clear(int slot) {
    const SlotList list = Profiles.Get2(slot);
    if (list) ReleaseFlags(*list);
    return 0;
}
