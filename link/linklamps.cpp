#include "link/linklamps.h"

namespace velmora {

void LinkLamps::set(LinkLamp lamp, LampColor color)
{
    LampColor &current = m_colors[index(lamp)];
    if (current == color)
        return;
    current = color;
    emit lampChanged(lamp, color);
}

void LinkLamps::setLine(LinkLamp lamp, bool on)
{
    set(lamp, on ? LampColors::Red : LampColors::Off);
}

} // namespace velmora
