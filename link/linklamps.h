#pragma once

#include <QObject>

#include <array>

namespace velmora {

// The indicator lamps of the serial link. Three of them are shown twice: the
// CTS, Xon and Xoff lamps of the settings panel have a twin in the job
// control area, and both always show the same colour.
enum class LinkLamp
{
    Open, // shpOpen
    Dtr,  // shpDTR
    Rts,  // shpRTS
    Cts,  // shpCTS and shpCTSc
    Dsr,  // shpDSR
    Cd,   // shpCD
    Ri,   // shpRI
    Xon,  // shpXon and shpXonc
    Xoff, // shpXoff and shpXoffc
};

inline constexpr int LinkLampCount = 9;

// A lamp colour as red, green and blue, 0 to 255 each.
struct LampColor
{
    int red = 0;
    int green = 0;
    int blue = 0;

    friend constexpr bool operator==(const LampColor &, const LampColor &) = default;
};

namespace LampColors {
inline constexpr LampColor Initial{128, 128, 128}; // every lamp when the window opens
inline constexpr LampColor Off{150, 150, 150};     // a line or state that is off
inline constexpr LampColor Red{255, 0, 0};         // a line that is on
inline constexpr LampColor Green{0, 255, 0};       // Xon was the last flow-control character
inline constexpr LampColor Yellow{255, 255, 0};    // Xoff was the last flow-control character
inline constexpr LampColor PortOpen{60, 60, 255};  // shpOpen while the port is open
inline constexpr LampColor PortClosed{80, 80, 80}; // shpOpen after a close or a failed open
} // namespace LampColors

// The colours of the link's lamps. The link logic sets them, the window shows
// them.
class LinkLamps : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    LampColor color(LinkLamp lamp) const { return m_colors[index(lamp)]; }
    // Sets a lamp; lampChanged is emitted when its colour changes.
    void set(LinkLamp lamp, LampColor color);
    // Red when on, the off grey otherwise.
    void setLine(LinkLamp lamp, bool on);

signals:
    void lampChanged(velmora::LinkLamp lamp, velmora::LampColor color);

private:
    static std::size_t index(LinkLamp lamp) { return static_cast<std::size_t>(lamp); }

    std::array<LampColor, LinkLampCount> m_colors = {
        LampColors::Initial, LampColors::Initial, LampColors::Initial,
        LampColors::Initial, LampColors::Initial, LampColors::Initial,
        LampColors::Initial, LampColors::Initial, LampColors::Initial};
};

} // namespace velmora

Q_DECLARE_METATYPE(velmora::LampColor)
