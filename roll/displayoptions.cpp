#include "roll/displayoptions.h"

namespace velmora {

void DisplayOptions::setRight(bool right)
{
    m_right = right;
    emit rightChanged(right);
}

void DisplayOptions::setMirror(bool mirror)
{
    m_mirror = mirror;
    emit mirrorChanged(mirror);
}

} // namespace velmora
