// Elementary cellular automata: catalogue indices 171 to 173.
//
// Each image row is one generation, computed from the row above while the pixels are asked in
// row order: the pixel of column x in row y applies the rule (Wolfram's numbering) to the cells
// x - 1, x, x + 1 of the previous generation and stores its new cell for the next row. A row of
// 1026 cells holds column j in cell j + 1, between two border cells that stay as the start row
// left them. The first row asked, and any row that does not follow the last one, starts the
// automaton again; so a second computation of the same picture starts afresh from row 0.
#include <array>

#include "common/Random.h"
#include "equations/EquationFamilies.h"
#include "equations/PixelHelpers.h"

namespace luneth {

namespace {

constexpr uint32_t kRowCells = 1026;

// How an automaton begins.
enum class Start {
    kShownSeed,   // the start row is image row 0 itself: one cell at column 512
    kHiddenSeed,  // cell 512 (column 511) set; image row 0 is its first generation
    kRandom,      // all 1026 cells from rand() mod 2; image row 0 is its first generation
};

// Up to three automata side by side, one bit of each cell apiece (bit 0 red, 1 green, 2 blue).
struct AutomatonStyle {
    std::array<uint8_t, 3> rules;
    uint32_t automata;
    Start start;
    uint32_t lit, dark;  // colours of a cell 1 and 0 (when there is one automaton)
};

class CAutomatonEquation : public CSequentialEquation {
public:
    CAutomatonEquation(const EquationInfo& info, const AutomatonStyle& style)
        : CSequentialEquation(info), style_(style), lastRow_(height) {}

    uint32_t GetPixel(uint32_t x, uint32_t y) override {
        if (x >= kRowCells - 2) return kOpaqueBlack;  // no cells for this column
        if (y != lastRow_) {
            if (y == lastRow_ + 1)
                current_ = next_;
            else
                Restart();
            lastRow_ = y;
        }
        const uint8_t cell = y == 0 && style_.start == Start::kShownSeed ? Seed(x) : NewCell(x);
        next_[x + 1] = cell;
        return Colour(cell);
    }

private:
    void Restart() {
        current_.fill(0);
        if (style_.start == Start::kHiddenSeed) current_[512] = 1;
        if (style_.start == Start::kRandom)
            for (uint8_t& c : current_) c = static_cast<uint8_t>(Rand() % 2);
    }
    uint8_t Seed(uint32_t x) const { return x == 512 ? uint8_t((1u << style_.automata) - 1) : 0; }
    uint8_t NewCell(uint32_t x) const {
        uint8_t cell = 0;
        for (uint32_t a = 0; a < style_.automata; ++a) {
            auto bit = [&](uint32_t i) { return (current_[i] >> a) & 1u; };
            const uint32_t index = 4 * bit(x) + 2 * bit(x + 1) + bit(x + 2);
            cell |= static_cast<uint8_t>(((style_.rules[a] >> index) & 1u) << a);
        }
        return cell;
    }
    uint32_t Colour(uint8_t cell) const {
        if (style_.automata == 1) return cell ? style_.lit : style_.dark;
        return Rgb(cell & 1 ? 255 : 0, cell & 2 ? 255 : 0, cell & 4 ? 255 : 0);
    }

    const AutomatonStyle& style_;
    std::array<uint8_t, kRowCells> current_{}, next_{};
    uint32_t lastRow_;  // the image row handled last; the height at first, so row 0 restarts
};

// "Cellular Automata 1": rules 118, 182 and 150 in red, green and blue from one lit cell.
constexpr AutomatonStyle kThreeRules = {{118, 182, 150}, 3, Start::kShownSeed, 0, 0};
// "Cellular Automata 2" and "3": rule 18 from random cells and from one cell.
constexpr AutomatonStyle kRule18Random = {{18}, 1, Start::kRandom, 0xFFFFEEAAu, kOpaqueBlack};
constexpr AutomatonStyle kRule18Seed = {{18}, 1, Start::kHiddenSeed, 0xFFFFEEAAu, kOpaqueBlack};

template <const AutomatonStyle& kStyle>
class CStyledAutomaton final : public CAutomatonEquation {
public:
    explicit CStyledAutomaton(const EquationInfo& info) : CAutomatonEquation(info, kStyle) {}
};

constexpr EquationClass kClasses[] = {
    {"CPixelCellularAutomata1", CreatePixelEquation<CStyledAutomaton<kThreeRules>>},
    {"CPixelCellularAutomata2", CreatePixelEquation<CStyledAutomaton<kRule18Random>>},
    {"CPixelCellularAutomata3", CreatePixelEquation<CStyledAutomaton<kRule18Seed>>},
};

}  // namespace

EquationClassTable CellularAutomatonEquations() { return kClasses; }

}  // namespace luneth
