#include "tools/bake/kerning.hpp"

#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <set>
#include <string>

namespace bake {

namespace {

// Bounds-checked big-endian reads: a damaged table reads as zeros instead of past the buffer.
struct Table {
    std::vector<unsigned char> bytes;
    unsigned U16(size_t at) const {
        return at + 2 <= bytes.size() ? static_cast<unsigned>(bytes[at] << 8 | bytes[at + 1]) : 0;
    }
    int S16(size_t at) const { return static_cast<std::int16_t>(U16(at)); }
    size_t U32(size_t at) const { return static_cast<size_t>(U16(at)) << 16 | U16(at + 2); }
};

// Index of glyph in a coverage table, or -1.
int CoverageIndex(const Table& t, size_t coverage, FT_UInt glyph) {
    const unsigned format = t.U16(coverage);
    if (format == 1) {
        const unsigned count = t.U16(coverage + 2);
        for (unsigned i = 0; i < count; ++i)
            if (t.U16(coverage + 4 + 2 * i) == glyph) return static_cast<int>(i);
    } else if (format == 2) {
        const unsigned count = t.U16(coverage + 2);
        for (unsigned i = 0; i < count; ++i) {
            const size_t range = coverage + 4 + 6 * i;
            const unsigned start = t.U16(range), end = t.U16(range + 2);
            if (glyph >= start && glyph <= end) return static_cast<int>(t.U16(range + 4) + glyph - start);
        }
    }
    return -1;
}

unsigned GlyphClass(const Table& t, size_t classDef, FT_UInt glyph) {
    const unsigned format = t.U16(classDef);
    if (format == 1) {
        const unsigned start = t.U16(classDef + 2), count = t.U16(classDef + 4);
        if (glyph >= start && glyph < start + count) return t.U16(classDef + 6 + 2 * (glyph - start));
    } else if (format == 2) {
        const unsigned count = t.U16(classDef + 2);
        for (unsigned i = 0; i < count; ++i) {
            const size_t range = classDef + 4 + 6 * i;
            if (glyph >= t.U16(range) && glyph <= t.U16(range + 2)) return t.U16(range + 4);
        }
    }
    return 0;
}

int ValueRecordSize(unsigned format) {
    int size = 0;
    for (unsigned bit = 0; bit < 8; ++bit)
        if (format & (1u << bit)) size += 2;
    return size;
}

// The x-advance field of a value record, 0 when the record has none.
int XAdvance(const Table& t, size_t record, unsigned format) {
    if (!(format & 0x4)) return 0;
    size_t at = record;
    if (format & 0x1) at += 2;
    if (format & 0x2) at += 2;
    return t.S16(at);
}

// Adjustment one pair-positioning subtable gives (first, second); false when it does not cover them.
bool PairAdjustment(const Table& t, size_t sub, FT_UInt first, FT_UInt second, int& amount) {
    const unsigned format = t.U16(sub);
    const int covered = CoverageIndex(t, sub + t.U16(sub + 2), first);
    if (covered < 0) return false;
    const unsigned format1 = t.U16(sub + 4), format2 = t.U16(sub + 6);
    const int size1 = ValueRecordSize(format1), size2 = ValueRecordSize(format2);
    if (format == 1) {
        if (static_cast<unsigned>(covered) >= t.U16(sub + 8)) return false;
        const size_t set = sub + t.U16(sub + 10 + 2 * covered);
        const unsigned count = t.U16(set);
        const size_t stride = 2 + size1 + size2;
        for (unsigned i = 0; i < count; ++i) {
            const size_t record = set + 2 + i * stride;
            if (t.U16(record) == second) {
                amount = XAdvance(t, record + 2, format1);
                return true;
            }
        }
        return false;
    }
    if (format == 2) {
        const size_t classDef1 = sub + t.U16(sub + 8), classDef2 = sub + t.U16(sub + 10);
        const unsigned count1 = t.U16(sub + 12), count2 = t.U16(sub + 14);
        const unsigned class1 = GlyphClass(t, classDef1, first), class2 = GlyphClass(t, classDef2, second);
        if (class1 >= count1 || class2 >= count2) return false;
        const size_t record = sub + 16 + (static_cast<size_t>(class1) * count2 + class2) * (size1 + size2);
        amount = XAdvance(t, record, format1);
        return true;
    }
    return false;
}

}  // namespace

std::map<std::pair<FT_UInt, FT_UInt>, int> ReadPairKerning(FT_Face face, const std::vector<FT_UInt>& glyphs) {
    std::map<std::pair<FT_UInt, FT_UInt>, int> pairs;
    Table gpos;
    FT_ULong length = 0;
    if (FT_IS_SFNT(face) && FT_Load_Sfnt_Table(face, TTAG_GPOS, 0, nullptr, &length) == 0 && length > 10) {
        gpos.bytes.resize(length);
        if (FT_Load_Sfnt_Table(face, TTAG_GPOS, 0, gpos.bytes.data(), &length) != 0) gpos.bytes.clear();
    }

    // Pair-adjustment subtables of the lookups the 'kern' feature names (unwrapping extension lookups).
    std::vector<std::vector<size_t>> lookupSubtables;
    if (!gpos.bytes.empty()) {
        const size_t featureList = gpos.U16(6), lookupList = gpos.U16(8);
        std::set<unsigned> lookups;
        const unsigned features = gpos.U16(featureList);
        for (unsigned i = 0; i < features; ++i) {
            const size_t record = featureList + 2 + 6 * i;
            if (gpos.U32(record) != FT_MAKE_TAG('k', 'e', 'r', 'n')) continue;
            const size_t feature = featureList + gpos.U16(record + 4);
            const unsigned count = gpos.U16(feature + 2);
            for (unsigned j = 0; j < count; ++j) lookups.insert(gpos.U16(feature + 4 + 2 * j));
        }
        for (unsigned index : lookups) {
            if (index >= gpos.U16(lookupList)) continue;
            std::vector<size_t> subtables;
            const size_t lookup = lookupList + gpos.U16(lookupList + 2 + 2 * index);
            const unsigned type = gpos.U16(lookup), count = gpos.U16(lookup + 4);
            for (unsigned j = 0; j < count; ++j) {
                size_t sub = lookup + gpos.U16(lookup + 6 + 2 * j);
                unsigned subType = type;
                if (type == 9) {  // extension: the real subtable sits at a 32-bit offset
                    subType = gpos.U16(sub + 2);
                    sub += gpos.U32(sub + 4);
                }
                if (subType == 2) subtables.push_back(sub);
            }
            if (!subtables.empty()) lookupSubtables.push_back(std::move(subtables));
        }
    }

    for (FT_UInt first : glyphs) {
        for (FT_UInt second : glyphs) {
            int total = 0;
            bool found = false;
            // Lookups add up; inside one lookup the first subtable that takes the pair decides.
            for (const std::vector<size_t>& subtables : lookupSubtables) {
                for (size_t sub : subtables) {
                    int amount = 0;
                    if (PairAdjustment(gpos, sub, first, second, amount)) {
                        total += amount;
                        found = true;
                        break;
                    }
                }
            }
            if (lookupSubtables.empty() && FT_HAS_KERNING(face)) {
                FT_Vector delta{0, 0};
                if (FT_Get_Kerning(face, first, second, FT_KERNING_UNSCALED, &delta) == 0 && delta.x != 0) {
                    total = static_cast<int>(delta.x);
                    found = true;
                }
            }
            if (found && total != 0) pairs[{first, second}] = total;
        }
    }
    return pairs;
}

}  // namespace bake
