#ifndef KELVANE_XML_XMLPULLPARSERINPUT_H
#define KELVANE_XML_XMLPULLPARSERINPUT_H

// The pull parser's per-character steps, inline in every part of the parser
// that reads; internal to xml/.
#include "xml/XmlCharClasses.h"
#include "xml/XmlPullParser.h"

inline int XmlPullParser::fetch()
{
    if (srcPos_ < srcCount_ || refill()) {
        return srcBuf_[srcPos_++];
    }
    return -1;
}

inline int XmlPullParser::peek(int pos)
{
    return pos < peekCount_ ? peek_[pos] : fillPeek(pos);
}

// Same as peek(0), but leaves a plain character in the source buffer where
// the run scanners can still take it.
inline int XmlPullParser::peekFirst()
{
    if (peekCount_ == 0 && srcPos_ < srcCount_) {
        int b = srcBuf_[srcPos_];
        if (b != '\r' && (b != '\n' || !wasCR_)) {
            return b;
        }
    }
    return peek(0);
}

// Gives a single plain look-ahead character back to the source buffer, so
// that the run scanners can take it along with what follows. It is always the
// byte just before the read position: the last one fetched.
inline void XmlPullParser::unpeek()
{
    if (peekCount_ == 1 && peek_[0] > 0 && peek_[0] != '\n' && srcPos_ > 0) {
        --srcPos_;
        peekCount_ = 0;
    }
}

inline int XmlPullParser::read()
{
    int r;
    if (peekCount_ > 0) {
        r = peek_[0];
        peek_[0] = peek_[1];
        --peekCount_;
    } else if (srcPos_ < srcCount_ && srcBuf_[srcPos_] != '\r' && (srcBuf_[srcPos_] != '\n' || !wasCR_)) {
        r = srcBuf_[srcPos_++];
        wasCR_ = false;
    } else {
        r = peek(0);
        peekCount_ = 0;
    }
    if (r == '\n') {
        ++line_;
        column_ = 1;
    } else {
        ++column_;
        if (XmlChars::isForbiddenControl(r)) {
            failControl(r);
        }
    }
    return r;
}

inline void XmlPullParser::read(int expected)
{
    int actual = read();
    if (actual != expected) {
        failMismatch(expected, actual);
    }
}

// Consumes the longest run of bytes at the read position of the source buffer
// that holds none of the stop classes. Only valid with an empty look-ahead.
inline const char* XmlPullParser::takeRun(std::uint16_t stopMask, std::size_t& count)
{
    const unsigned char* start = srcBuf_.get() + srcPos_;
    return passRun(start, XmlChars::findStop(start, srcBuf_.get() + srcCount_, stopMask), count);
}

// The same for the inside of an attribute value in the quotes given.
inline const char* XmlPullParser::takeValueRun(int quote, std::size_t& count)
{
    const unsigned char* start = srcBuf_.get() + srcPos_;
    const auto quoteByte = static_cast<unsigned char>(quote);
    return passRun(start, XmlChars::findValueStop(start, srcBuf_.get() + srcCount_, quoteByte), count);
}

// Moves the read position from the start of a run, at it, to its stop.
inline const char* XmlPullParser::passRun(const unsigned char* start, const unsigned char* stop, std::size_t& count)
{
    count = static_cast<std::size_t>(stop - start);
    if (count > 0) {
        srcPos_ += static_cast<int>(count);
        column_ += static_cast<int>(count);
        wasCR_ = false;
    }
    return reinterpret_cast<const char*>(start);
}

inline void XmlPullParser::skip()
{
    // Usually there is nothing, or a single space, to skip.
    if (peekCount_ == 0 && srcPos_ < srcCount_) {
        int b = srcBuf_[srcPos_];
        if (b > ' ') {
            return;
        }
        if (b == ' ' && srcPos_ + 1 < srcCount_ && srcBuf_[srcPos_ + 1] > ' ') {
            ++srcPos_;
            ++column_;
            wasCR_ = false;
            return;
        }
    }
    skipBlanks();
}

// Inside a start tag, the commonest steps lie whole in the source buffer: a
// single space before the next attribute's name, and ">" or "/>", with or
// without a space before. They are taken at once; anything else is left for
// the general path.
inline XmlPullParser::TagStep XmlPullParser::takeCommonTagStep()
{
    if (peekCount_ != 0 || srcCount_ - srcPos_ < 3) {
        return TagStep::None;
    }
    const unsigned char* p = srcBuf_.get() + srcPos_;
    const int space = p[0] == ' ' ? 1 : 0;
    int taken = 0;
    TagStep step = TagStep::None;
    if (p[space] == '>') {
        taken = space + 1;
        step = TagStep::Closed;
    } else if (p[space] == '/' && p[space + 1] == '>') {
        degenerated_ = true;
        taken = space + 2;
        step = TagStep::Closed;
    } else if (space == 1 && XmlChars::hasClass(p[1], XmlChars::kNameStart)) {
        taken = 1;
        step = TagStep::Attribute;
    }
    srcPos_ += taken;
    column_ += taken;
    wasCR_ = wasCR_ && taken == 0;
    return step;
}

inline void XmlPullParser::push(int c)
{
    if (txtPos_ + 1 >= txtCap_) {
        growText(1);
    }
    txtBuf_[txtPos_++] = static_cast<char>(c);
    txtBuf_[txtPos_] = 0;
    if (c > ' ') {
        isWhitespace_ = false;
    }
}

inline void XmlPullParser::appendText(const char* bytes, std::size_t count)
{
    if (txtPos_ + count >= txtCap_) {
        growText(count);
    }
    std::memcpy(txtBuf_.get() + txtPos_, bytes, count);
    txtPos_ += count;
    txtBuf_[txtPos_] = 0;
}

inline void XmlPullParser::pushBytes(const char* bytes, std::size_t count)
{
    appendText(bytes, count);
    if (isWhitespace_) {
        for (std::size_t i = 0; i < count; ++i) {
            if (static_cast<unsigned char>(bytes[i]) > ' ') {
                isWhitespace_ = false;
                break;
            }
        }
    }
}

#endif
