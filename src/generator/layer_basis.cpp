#include "generator/layer_basis.h"

#include <algorithm>
#include <bit>
#include <span>
#include <vector>

namespace {

// Sets of colours 1 to 15 as table indices: the mask shifted right by one.
constexpr int kSets = 1 << 15;
constexpr std::uint16_t kNoBasis = 0xFFFF;

std::size_t Count(const Basis& basis) {
    return static_cast<std::size_t>(basis.count);
}

// The colours a basis shows: those that are the OR of the basis colours inside them.
ColourSet Shown(const Basis& basis) {
    ColourSet shown = 0;
    for (unsigned c = 1; c < 16; ++c) {
        unsigned made = 0;
        for (const std::uint8_t b : std::span(basis.colours).first(Count(basis))) {
            if ((b & ~c) == 0) made |= b;
        }
        if (made == c) shown = static_cast<ColourSet>(shown | 1u << c);
    }
    return shown;
}

ColourSet MaskOf(const Basis& basis) {
    ColourSet mask = 0;
    for (const std::uint8_t b : std::span(basis.colours).first(Count(basis))) {
        mask = static_cast<ColourSet>(mask | 1u << b);
    }
    return mask;
}

// Every basis of 1 to 4 colours, the smaller first, and of one size in ascending order: the order
// of preference.
std::vector<Basis> AllBases() {
    std::vector<Basis> bases;
    Basis basis;
    const auto add = [&](auto& self, int from) -> void {
        if (basis.count > 0) {
            Basis copy;  // the colours past the count stay 0
            std::copy_n(basis.colours.begin(), basis.count, copy.colours.begin());
            copy.count = basis.count;
            bases.push_back(copy);
        }
        if (basis.count == kMostLayers) return;
        for (int c = from; c < 16; ++c) {
            basis.colours[static_cast<std::size_t>(basis.count++)] = static_cast<std::uint8_t>(c);
            self(self, c + 1);
            --basis.count;
        }
    };
    add(add, 1);
    std::stable_sort(bases.begin(), bases.end(),
                     [](const Basis& a, const Basis& b) { return a.count < b.count; });
    return bases;
}

// A basis packed in four nibbles, the least colour lowest; 0 in the nibbles past it.
std::uint16_t Packed(const Basis& basis) {
    unsigned packed = 0;
    for (std::size_t j = Count(basis); j-- > 0;) packed = packed << 4 | basis.colours[j];
    return static_cast<std::uint16_t>(packed);
}

}  // namespace

std::vector<std::uint16_t> MakeBasisTable() {
    const std::vector<Basis> bases = AllBases();
    std::vector<std::uint16_t> any(kSets, kNoBasis);
    std::vector<std::uint16_t> own(kSets, kNoBasis);
    for (std::size_t rank = 0; rank < bases.size(); ++rank) {
        const unsigned shown = Shown(bases[rank]) >> 1;
        const unsigned mask = MaskOf(bases[rank]) >> 1;
        const auto r = static_cast<std::uint16_t>(rank);
        any[shown] = std::min(any[shown], r);
        // Every set between the basis's own colours and all it shows.
        const unsigned free = shown & ~mask;
        for (unsigned extra = free;; extra = (extra - 1) & free) {
            own[mask | extra] = std::min(own[mask | extra], r);
            if (extra == 0) break;
        }
    }
    // Each set takes the least rank of its supersets, one colour at a time.
    for (unsigned bit = 1; bit < kSets; bit <<= 1) {
        for (unsigned high = 0; high < kSets; high += 2 * bit) {
            std::uint16_t* lower = any.data() + high;
            const std::uint16_t* upper = lower + bit;
            for (unsigned low = 0; low < bit; ++low) lower[low] = std::min(lower[low], upper[low]);
        }
    }
    std::vector<std::uint16_t> best(kSets, 0);
    for (unsigned s = 1; s < kSets; ++s) {
        const Basis& least = bases[any[s]];
        const bool ownFits = own[s] != kNoBasis && bases[own[s]].count == least.count;
        best[s] = Packed(ownFits ? bases[own[s]] : least);
    }
    return best;
}

const std::vector<std::uint16_t>& BasisTable() {
    static const std::vector<std::uint16_t> table = MakeBasisTable();
    return table;
}

namespace {

// The set's colours, least first, 0 past them.
std::array<unsigned, 3> LeastThree(ColourSet set) {
    std::array<unsigned, 3> colours{};
    for (unsigned& c : colours) {
        if (set == 0) break;
        c = static_cast<unsigned>(std::countr_zero(set));
        set = static_cast<ColourSet>(set & (set - 1));
    }
    return colours;
}

}  // namespace

// Two layers show exactly the sets whose smallest basis has at most two colours: a basis {a, b}
// shows a, b and a OR b, the greatest.
bool FitsTwoLayers(ColourSet set) {
    return BasisTable()[(set & 0xFFFE) >> 1] < 0x100;
}

Basis SmallestBasis(ColourSet set) {
    Basis basis;
    for (unsigned packed = BasisTable()[(set & 0xFFFE) >> 1]; packed != 0; packed >>= 4) {
        basis.colours[static_cast<std::size_t>(basis.count++)] =
            static_cast<std::uint8_t>(packed & 15);
    }
    return basis;
}

void SplitColours(ColourSet set, int layers, LayerSplit& split) {
    static const std::array<ColourSet, 16> kSupersets = [] {
        std::array<ColourSet, 16> table{};
        for (unsigned b = 0; b < 16; ++b) table[b] = Supersets(b);
        return table;
    }();
    set = static_cast<ColourSet>(set & 0xFFFE);
    const unsigned packed = BasisTable()[set >> 1];
    split.members = {};
    split.colourBytes = {0, 0x40, 0x40, 0x40};
    split.fits = true;
    if (packed < 0x100) {
        // Layer 1 draws c0 and c2, layer 2 c1 and c2.
        const auto [c0, c1, c2] = LeastThree(set);
        const auto bit = [](unsigned c) { return static_cast<ColourSet>(c == 0 ? 0 : 1u << c); };
        split.members[0] = static_cast<ColourSet>(bit(c0) | bit(c2));
        split.members[1] = static_cast<ColourSet>(bit(c1) | bit(c2));
        split.colourBytes[0] = static_cast<std::uint8_t>(c0);
        split.colourBytes[1] = static_cast<std::uint8_t>(c1 | 0x40);
        return;
    }
    // Three or four colours, the least in the lowest nibble.
    const int count = packed < 0x1000 ? 3 : 4;
    const int used = std::min(count, layers);
    for (int j = 0; j < used; ++j) {
        const auto index = static_cast<std::size_t>(j);
        const unsigned colour = packed >> (4 * j) & 15;
        split.members[index] = static_cast<ColourSet>(set & kSupersets[colour]);
        split.colourBytes[index] = static_cast<std::uint8_t>(colour | (j == 0 ? 0 : 0x40));
    }
    split.fits = count <= layers;
}
