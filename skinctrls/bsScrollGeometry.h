#pragma once
// The arithmetic of a scroll bar's thumb: how long it is, where it sits for a
// position, and which position a dragged thumb stands for. No toolkit here;
// every division is guarded, so an empty track or an empty range is harmless.

namespace rasp {

struct TbsScrollRange {
    int Min = 0;
    int Max = 100;
    int PageSize = 0;  // 0: a thumb of fixed length
};

// The highest position the range allows.
int bsScrollMaxPosition(const TbsScrollRange& r);
// v limited to [Min, bsScrollMaxPosition]; below Min gives Min first.
int bsScrollClamp(const TbsScrollRange& r, int v);

// Thumb length for a track of trackLength pixels; never below minLength
// (and never longer than the track, unless the track is shorter than minLength).
int bsThumbLength(const TbsScrollRange& r, int trackLength, int minLength);
// Offset of the thumb from the track's start for a position.
int bsThumbOffset(const TbsScrollRange& r, int position, int trackLength, int thumbLength,
                  bool horizontal);
// The position of a thumb dragged by `dragged` pixels from `offsetAtPress`.
int bsThumbPosition(const TbsScrollRange& r, int dragged, int offsetAtPress, int trackLength,
                    int thumbLength);

}  // namespace rasp
