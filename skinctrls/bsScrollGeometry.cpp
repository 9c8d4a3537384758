#include "skinctrls/bsScrollGeometry.h"

#include <algorithm>
#include <cmath>

namespace rasp {

namespace {
int RoundToInt(double v) { return int(std::lround(v)); }
}  // namespace

int bsScrollMaxPosition(const TbsScrollRange& r)
{
    if (r.PageSize <= 0)
        return r.Max;
    // 64-bit: Max - PageSize + 1 must not overflow for extreme ranges.
    const long long top = (long long)r.Max - r.PageSize + 1;
    return int(std::clamp<long long>(top, r.Min, r.Max > r.Min ? r.Max : r.Min));
}

int bsScrollClamp(const TbsScrollRange& r, int v)
{
    if (v < r.Min)
        return r.Min;
    const int top = bsScrollMaxPosition(r);
    return v > top ? std::max(top, r.Min) : v;
}

int bsThumbLength(const TbsScrollRange& r, int trackLength, int minLength)
{
    if (r.PageSize <= 0)
        return minLength;
    const double span = double(r.Max) - double(r.Min) + 1.0;
    int len = span > 0 ? RoundToInt(double(trackLength) * double(r.PageSize) / span) : trackLength;
    len = std::min(len, trackLength);
    return std::max(len, minLength);
}

int bsThumbOffset(const TbsScrollRange& r, int position, int trackLength, int thumbLength,
                  bool horizontal)
{
    double f = 0;
    if (r.PageSize <= 0) {
        const double span = double(r.Max) - double(r.Min);
        f = span > 0 ? (double(position) - r.Min) / span : 0.0;
    } else {
        const double span = double(r.Max) - double(r.Min) - double(r.PageSize) + 1.0;
        f = span > 0 ? (double(position) - r.Min) / span : (horizontal ? 1.0 : 0.0);
    }
    f = std::clamp(f, 0.0, 1.0);
    const int travel = std::max(0, trackLength - thumbLength);
    return RoundToInt(double(travel) * f);
}

int bsThumbPosition(const TbsScrollRange& r, int dragged, int offsetAtPress, int trackLength,
                    int thumbLength)
{
    const int travel = trackLength - thumbLength;
    if (travel <= 0)
        return r.Min;
    const double f = std::clamp(double(dragged + offsetAtPress) / double(travel), 0.0, 1.0);
    const double span = r.PageSize > 0 ? double(r.Max) - r.Min - r.PageSize + 1.0
                                       : double(r.Max) - r.Min;
    if (span <= 0)
        return r.Min;
    return int(std::lround(double(r.Min) + span * f));
}

}  // namespace rasp
