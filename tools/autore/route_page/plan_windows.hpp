#pragma once
// How the route page lays the plan out at each zoom: the frame (main
// direction and reach of the turned track) of windows along the route,
// worked out here so that the page's script only draws them. The page picks,
// at the size of window that fits the stretch in view, the window nearest its
// middle. The widest size is one window over the whole route: the frame of
// the plot's picture, from the same points.

#include "autore/route/plan_frame.hpp"
#include "autore/route/official_km.hpp"
#include "autore/route/route_data.hpp"
#include "autore/route_page/plan_levels.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace autore {

// Windows of one size: window i is centred on route metre i * step_m (the
// widest holds one window, at the route's start, spanning the whole route)
// and reaches span_m / 2 either way, within the track.
struct WindowSize {
    int64_t span_m = 0;
    int64_t step_m = 0;
    std::vector<PlanFrame> frames; // one per window
    // The kilometre labels along the track in windows of this size: every
    // km_step_m from the route's start (a round step, about eight to a window).
    int64_t km_step_m = 0;
};

struct PlanWindows {
    std::vector<WindowSize> sizes; // widest first
    // The official kilometre at every km_step_m from the route's start to the
    // track's end: the labels of every size are among them.
    int64_t km_step_m = 0;
    std::vector<std::string> km;
};

// The narrowest window the page is given: in narrower views it draws this one.
inline constexpr int64_t narrowest_window_m = 800;

// A window's reach in whole metres, rounded up past a millimetre's grace: a
// straight stretch reaches 0 m across whether the platform's sine and cosine
// leave it 1e-12 m wide or not, so that the page is the same from every build.
int64_t whole_metres_up(double metres);

// The points of a level from from_m to to_m, the two ends between its points.
std::vector<PlanPoint> stretch_of(const std::vector<PlanVertex>& points, int64_t from_m, int64_t to_m);

// The window sizes, widest first, each the one before over the square root of
// two down to narrowest_window_m (a view takes the narrowest that holds it
// wherever it stands, which it fills by more than half): the widest is the frame of the route's picture (whole
// the track up to length_m and the run-out beyond); the others come from the
// coarsest level that strays by at most a two-thousandth of their span.
// Without a track there are none.
PlanWindows plan_windows(const RouteTrack& picture, const std::vector<PlanLevel>& levels,
                                     const std::vector<Chainage>& chainages, int64_t length_m);

} // namespace autore
