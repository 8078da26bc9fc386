#include "rows/RowArea.h"

#include <cmath>

namespace {

// Clearing checks in check order and the geometry template of each row area. The commands
// name display areas ("-scN"), the checks row areas.
const std::array<TRowAreaLayout, 9>& AreaLayouts() {
    static const std::array<TRowAreaLayout, 9> layouts = {{
        {{{7, "-sc2 -dc|"}, {5, "-sc1 -dc|"}, {3, "-sc2 -dc|"}, {4, "-sc1 -dc|"}, {2, "-sc0 -dc|"}},
         "-sc1 -sg%d,%d,%d,%d -f0"},
        {{{8, "-sc3 -dc|"}, {6, "-sc4 -dc|"}, {3, "-sc2 -dc|"}, {4, "-sc1 -dc|"}, {2, "-sc0 -dc|"}},
         " -sc4 -sg%d,%d,%d,%d -f0"},
        {{{0, "-sc1 -dc|"},
          {1, "-sc4 -dc|"},
          {7, "-sc2 -dc|"},
          {5, "-sc1 -dc|"},
          {8, "-sc3 -dc|"},
          {6, "-sc4 -dc|"},
          {3, "-sc2 -dc|"},
          {4, "-sc1 -dc|"}},
         "-sc0 -sg%d,%d,%d,%d -f1"},
        {{{0, "-sc1 -dc|"}, {1, "-sc4 -dc|"}, {7, "-sc2 -dc|"}, {8, "-sc3 -dc|"}, {2, "-sc0 -dc|"}},
         "-sc2 -sg%d,%d,%d,%d -f1"},
        {{{0, "-sc1 -dc|"}, {1, "-sc4 -dc|"}, {5, "-sc1 -dc|"}, {6, "-sc4 -dc|"}, {2, "-sc0 -dc|"}},
         "-sc1 -sg%d,%d,%d,%d -f1"},
        {{{0, "-sc1 -dc|"}, {4, "-sc1 -dc|"}, {2, "-sc0 -dc|"}}, "-sc1 -sg%d,%d,%d,%d -f0"},
        {{{1, "-sc4 -dc|"}, {4, "-sc1 -dc|"}, {2, "-sc0 -dc|"}}, " -sc4 -sg%d,%d,%d,%d -f0"},
        {{{0, "-sc1 -dc|"}, {3, "-sc2 -dc|"}, {2, "-sc0 -dc|"}}, "-sc2 -sg%d,%d,%d,%d -f0"},
        {{{1, "-sc4 -dc|"}, {3, "-sc2 -dc|"}, {2, "-sc0 -dc|"}}, " -sc3 -sg%d,%d,%d,%d -f0"},
    }};
    return layouts;
}

// x, y, third and fourth "-sg" number of each row area; the third is not always a width.
} // namespace

std::array<int, 4> RowAreaGeometry(std::uint8_t size, int w) {
    // Ties to even, as the displays' layout was drawn.
    const int r = static_cast<int>(std::nearbyint(w / 16.0 * 9.0));
    switch (size) {
    case 0:
        return {0, 0, w, 8};
    case 1:
        return {0, 8, w, 16};
    case 2:
        return {0, 0, w, 16};
    case 3:
        return {w - 28, 0, w, 16};
    case 4:
        return {0, 0, r, 16};
    case 5:
        return {0, 0, w - 28, 8};
    case 6:
        return {0, 8, w - 28, 16};
    case 7:
        return {r, 0, w - r, 8};
    default:
        return {r, 8, w - r, 16};
    }
}

const TRowAreaLayout* RowAreaLayout(std::uint8_t size) {
    return size < AreaLayouts().size() ? &AreaLayouts()[size] : nullptr;
}
