#pragma once
// The one state a self-drawn button's face is drawn for.

namespace widgets {

// stExclusive is a grouped button that is Down (latched); stInactive is only
// a look: a flat speed button that the mouse is not over. The order is the
// order of the frames of a multi-frame glyph, for both kinds of button.
enum TButtonPaintState { stUp = 0, stDisabled = 1, stDown = 2, stExclusive = 3, stInactive = 4 };
constexpr int kPaintStateCount = 5;

} // namespace widgets
