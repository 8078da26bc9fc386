#include "rows/RowCommand.h"

#include "platform/SprintF.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

struct TClearCheck {
    std::uint8_t Area;
    const char* Command;
};

struct TAreaLayout {
    std::vector<TClearCheck> Checks;
    const char* Geometry;
};

// Clearing checks in check order and the geometry template of each row area. The commands
// name display areas ("-scN"), the checks row areas.
const std::array<TAreaLayout, 9>& AreaLayouts() {
    static const std::array<TAreaLayout, 9> layouts = {{
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
std::array<int, 4> Geometry(std::uint8_t size, int w) {
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

} // namespace

std::string BuildRowCommand(const TRowCommandOptions& row, std::uint16_t width,
                            TCBFontSizes& lastShowedAreas) {
    std::string result;
    const auto append = [&result](const std::string& item) { result += item + ' '; };
    if (row.Size < AreaLayouts().size()) {
        const TAreaLayout& layout = AreaLayouts()[row.Size];
        for (const TClearCheck& check : layout.Checks) {
            if (lastShowedAreas.Contains(check.Area)) {
                lastShowedAreas.Exclude(check.Area);
                append(check.Command);
            }
        }
        const auto g = Geometry(row.Size, width);
        append(SprintF(layout.Geometry, g[0], g[1], g[2], g[3]));
    }
    lastShowedAreas.Include(row.Size);
    append(SprintF("-cb%d", static_cast<int>(row.BackgroundColor)));
    append(SprintF("-cf%d", static_cast<int>(row.ForegroundColor)));
    append(SprintF("-sad%d", static_cast<int>(row.Align)));
    append(SprintF("-nss%d", static_cast<int>(row.Scrollspeed)));
    append(row.TextIsParameter ? SprintF("-t\"[%s]\"", row.Text) : SprintF("-t\"%s\"", row.Text));
    append("");
    return result;
}
