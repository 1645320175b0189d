#include "format/userformatbuilder.h"

#include "format/formattable.h"

#include <span>

namespace velmora {

bool UserFormatBuilder::takesLength(int code)
{
    return code >= ZeroesField && code <= TracknumField;
}

void UserFormatBuilder::open()
{
    m_count = 0;
    m_field = -1;
    m_length = -1;
    m_lengthListShown = true;
}

void UserFormatBuilder::pickField(int code)
{
    if (code < 0 || code >= FieldCodeCount)
        return;
    m_field = code;
    m_lengthListShown = takesLength(code);
    if (!m_lengthListShown)
        m_length = -1;
}

void UserFormatBuilder::pickLength(int length)
{
    if (length >= LengthVariable && length <= LongestLength)
        m_length = length;
}

bool UserFormatBuilder::addEnabled() const
{
    return m_count < MaxFields && m_field >= 0 && (!takesLength(m_field) || m_length >= 0);
}

void UserFormatBuilder::add()
{
    if (!addEnabled())
        return;
    qint16 length = qint16(m_length);
    if (m_field == DollarField || (m_field == ZeroesField && length == LengthVariable))
        length = 1;
    else if (m_field >= Field1)
        length = LengthAsIs;
    m_codes[m_count] = qint16(m_field);
    m_lengths[m_count] = length;
    ++m_count;
}

void UserFormatBuilder::removeLast()
{
    if (m_count > 0)
        --m_count;
}

QString UserFormatBuilder::description() const
{
    const std::size_t count = std::size_t(m_count);
    return describeFields(std::span(m_codes).first(count), std::span(m_lengths).first(count));
}

OutputFormat UserFormatBuilder::format() const
{
    OutputFormat format;
    format.fieldCode.fill(EmptySlot);
    format.fieldLength.fill(LengthEmpty);
    for (int k = 0; k < m_count; ++k) {
        format.fieldCode[k] = m_codes[k];
        format.fieldLength[k] = m_lengths[k];
    }
    return format;
}

void UserFormatBuilder::store(FormatTable &formats) const
{
    const OutputFormat stored = format();
    formats.setUserFormatFields(stored.fieldsText());
    formats.setUserFormatLengths(stored.lengthsText());
    formats.selectFormat(0);
}

} // namespace velmora
