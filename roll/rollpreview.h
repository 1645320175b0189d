#pragma once

#include "roll/rollgeometry.h"

#include <vector>

namespace velmora {

class DisplayOptions;
class HoleList;
class NextNoteState;
class PrtOpener;

// A redraw of the preview in a picture of width x height pixels: the roll
// around nextNote as the display options show it.
RollRequest previewRequest(const PrtOpener &opener, const NextNoteState &nextNote,
                           const DisplayOptions &display, int width, int height);

// The preview as it stands, in a picture of width x height pixels: the loaded
// roll, or only the centre line while no roll is loaded.
std::vector<RollShape> previewShapes(const HoleList &holes, const PrtOpener &opener,
                                     const NextNoteState &nextNote, const DisplayOptions &display,
                                     int width, int height);

} // namespace velmora
