#pragma once

#include <cstring>
#include <string>
#include <string_view>

namespace velmora {

// Cuts a byte stream, handed over in chunks of any size, into lines. A line
// ends at CR LF, at a lone CR or at a lone LF; the line end is not part of the
// line. A text after the last line end is a line too. A UTF-8 byte order mark
// at the very start of the stream is dropped.
//
// Only the first MaxLineBytes bytes of a line are kept; the rest of an
// over-long line is skipped, so a stream without line ends never grows memory.
// Lines that lie wholly inside one chunk are passed on without copying.
//
// The sink is called as sink(std::string_view line, bool truncated) and the
// view is valid only during that call. How the stream is cut into chunks does
// not change the lines passed on.
class PrtLineSplitter
{
public:
    static constexpr std::size_t MaxLineBytes = 4096;

    PrtLineSplitter() { m_carry.reserve(MaxLineBytes); }

    template <typename Sink> void feed(std::string_view chunk, Sink &&sink)
    {
        if (!m_started)
            chunk = skipByteOrderMark(chunk);
        if (m_afterCr && !chunk.empty()) {
            m_afterCr = false;
            if (chunk.front() == '\n')
                chunk.remove_prefix(1);
        }
        if (chunk.empty())
            return;

        const char *p = chunk.data();
        const char *const end = p + chunk.size();
        const char *lf = find(p, end, '\n');
        while (p != end) {
            if (lf < p)
                lf = find(p, end, '\n');
            const char *const stop = find(p, lf, '\r');
            if (stop == end) {
                keep(p, end);
                return;
            }
            complete(p, stop, sink);
            p = stop + 1;
            if (*stop == '\r') {
                if (p == end)
                    m_afterCr = true;
                else if (*p == '\n')
                    ++p;
            }
        }
    }

    // Passes on the text after the last line end, if any, and readies the
    // splitter for a new stream.
    template <typename Sink> void finish(Sink &&sink)
    {
        if (!m_started && m_bomMatched > 0)
            m_carry.assign(byteOrderMark.substr(0, m_bomMatched));
        if (!m_carry.empty())
            sink(std::string_view(m_carry), m_truncated);
        m_carry.clear();
        m_truncated = false;
        m_started = false;
        m_bomMatched = 0;
        m_afterCr = false;
    }

private:
    static constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

    static const char *find(const char *from, const char *to, char c)
    {
        const void *hit = std::memchr(from, c, static_cast<std::size_t>(to - from));
        return hit ? static_cast<const char *>(hit) : to;
    }

    std::string_view skipByteOrderMark(std::string_view chunk)
    {
        while (!m_started && !chunk.empty()) {
            if (chunk.front() == byteOrderMark[m_bomMatched]) {
                chunk.remove_prefix(1);
                if (++m_bomMatched == byteOrderMark.size())
                    m_started = true;
            } else {
                // Not a mark after all: the bytes matched so far are text.
                m_carry.assign(byteOrderMark.substr(0, m_bomMatched));
                m_started = true;
            }
        }
        return chunk;
    }

    // Keeps the start of a line whose end lies in a later chunk.
    void keep(const char *from, const char *to)
    {
        const std::size_t room = MaxLineBytes - m_carry.size();
        const auto size = static_cast<std::size_t>(to - from);
        if (size > room)
            m_truncated = true;
        m_carry.append(from, size < room ? size : room);
    }

    template <typename Sink> void complete(const char *from, const char *to, Sink &sink)
    {
        if (m_carry.empty()) {
            const auto size = static_cast<std::size_t>(to - from);
            if (size > MaxLineBytes)
                sink(std::string_view(from, MaxLineBytes), true);
            else
                sink(std::string_view(from, size), false);
            return;
        }
        keep(from, to);
        sink(std::string_view(m_carry), m_truncated);
        m_carry.clear();
        m_truncated = false;
    }

    std::string m_carry; // start of the line that continues in the next chunk
    bool m_truncated = false;
    bool m_started = false; // past the place where a byte order mark may stand
    std::size_t m_bomMatched = 0;
    bool m_afterCr = false; // the last chunk ended with a CR: skip an LF next
};

} // namespace velmora
