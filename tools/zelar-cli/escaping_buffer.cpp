#include "escaping_buffer.h"

#include "interrupt.h"

#include <sstream>

#include "text/control_escape.h"

namespace zelar::cli {

namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// How many continuation bytes a lead byte announces; 0 for no lead byte of UTF-8.
int continuationCount(unsigned char byte) {
    if (byte >= 0xC2 && byte <= 0xDF)
        return 1;
    if (byte >= 0xE0 && byte <= 0xEF)
        return 2;
    if (byte >= 0xF0 && byte <= 0xF4)
        return 3;
    return 0;
}

void escape(std::string& out, unsigned char byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
}

}  // namespace

EscapingBuffer::~EscapingBuffer() {
    std::string out;
    escapePending(out);
    write(out);
    target_->pubsync();
}

void EscapingBuffer::write(const std::string& out) {
    if (target_->sputn(out.data(), static_cast<std::streamsize>(out.size())) !=
        static_cast<std::streamsize>(out.size()))
        fail();
}

void EscapingBuffer::fail() {
    failed_ = true;
    // The command stops after its step in flight: nobody would learn what it did next.
    noteOutputLost();
}

void EscapingBuffer::escapePending(std::string& out) {
    for (char byte : pending_)
        escape(out, static_cast<unsigned char>(byte));
    pending_.clear();
    missing_ = 0;
}

void EscapingBuffer::put(std::string& out, unsigned char byte) {
    if (missing_ > 0) {
        if (isContinuation(byte)) {
            pending_ += static_cast<char>(byte);
            if (--missing_ > 0)
                return;
            // U+0080 to U+009F are controls too, shown as one character.
            if (isC1Control(pending_, 0)) {
                out += controlEscape(static_cast<unsigned char>(pending_[1]));
                pending_.clear();
            } else {
                out += pending_;
                pending_.clear();
            }
            return;
        }
        escapePending(out);  // a broken sequence; the byte that broke it stands alone
    }
    if (const int count = continuationCount(byte); count > 0) {
        pending_.assign(1, static_cast<char>(byte));
        missing_ = count;
    } else if (byte >= 0x80 || byte == 0x7F ||
               (byte < 0x20 && !(keepLines_ && (byte == '\n' || byte == '\t')))) {
        escape(out, byte);
    } else {
        out += static_cast<char>(byte);
    }
}

std::streamsize EscapingBuffer::xsputn(const char* text, std::streamsize count) {
    std::string out;
    out.reserve(static_cast<std::size_t>(count));
    for (std::streamsize i = 0; i < count; ++i)
        put(out, static_cast<unsigned char>(text[i]));
    write(out);
    return count;
}

EscapingBuffer::int_type EscapingBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    const char byte = traits_type::to_char_type(c);
    xsputn(&byte, 1);
    return c;
}

int EscapingBuffer::sync() {
    // A character cut by a flush is completed by the next write, so it waits.
    const int result = target_->pubsync();
    if (result != 0)
        fail();
    return result;
}

std::string escapedValue(const std::string& text) {
    std::stringbuf target;
    {
        EscapingBuffer buffer(&target, false);
        buffer.sputn(text.data(), static_cast<std::streamsize>(text.size()));
    }
    return target.str();
}

void writeUnescaped(std::ostream& stream, const std::string& text) {
    stream.flush();
    auto* escaping = dynamic_cast<EscapingBuffer*>(stream.rdbuf());
    std::streambuf* target = escaping ? escaping->target() : stream.rdbuf();
    if (target->sputn(text.data(), static_cast<std::streamsize>(text.size())) !=
            static_cast<std::streamsize>(text.size()) ||
        target->pubsync() != 0)
        stream.setstate(std::ios::badbit);
}

}  // namespace zelar::cli
