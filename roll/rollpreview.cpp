#include "roll/rollpreview.h"

#include "prt/prtopener.h"
#include "roll/displayoptions.h"
#include "roll/nextnotestate.h"

namespace velmora {

RollRequest previewRequest(const PrtOpener &opener, const NextNoteState &nextNote,
                           const DisplayOptions &display, int width, int height)
{
    RollRequest request;
    request.nextNote = nextNote.value();
    request.rollViewWidth = width;
    request.rollViewHeight = height;
    request.mirror = display.mirror();
    request.right = display.right();
    request.ascending = opener.holesAscending();
    return request;
}

std::vector<RollShape> previewShapes(const HoleList &holes, const PrtOpener &opener,
                                     const NextNoteState &nextNote, const DisplayOptions &display,
                                     int width, int height)
{
    if (!opener.fileLoaded())
        return emptyRollShapes(width, height);
    return drawRollShapes(holes, previewRequest(opener, nextNote, display, width, height));
}

} // namespace velmora
