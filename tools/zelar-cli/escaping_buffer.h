#pragma once

#include <ostream>
#include <streambuf>
#include <string>

namespace zelar::cli {

// Passes text on to another stream buffer with its control characters written as "\x1B", so
// that bytes from a file, a modem or an argument cannot steer the terminal. Line feeds and tabs
// pass, UTF-8 passes whole; its C1 controls (U+0080 to U+009F) are written as "\u0098", and
// bytes that are no UTF-8 are escaped byte by byte. With `keepLines` false, line feeds and tabs are
// escaped too, for a text that must stay on its one line.
class EscapingBuffer : public std::streambuf {
  public:
    explicit EscapingBuffer(std::streambuf* target, bool keepLines = true)
        : target_(target), keepLines_(keepLines) {}
    ~EscapingBuffer() override;
    std::streambuf* target() const { return target_; }
    // Whether a write to the target was cut short (a full disk, a closed file).
    bool failed() const { return failed_; }

  protected:
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int_type overflow(int_type c) override;
    int sync() override;

  private:
    // Appends the byte to `out` as it is shown, or keeps it until its character is complete.
    void put(std::string& out, unsigned char byte);
    void escapePending(std::string& out);

    void write(const std::string& out);
    void fail();

    std::streambuf* target_;
    bool keepLines_;
    bool failed_ = false;
    std::string pending_;  // the start of a UTF-8 sequence
    int missing_ = 0;      // its bytes still to come
};

// The text with every control character escaped, line feeds and tabs included: a value from a
// file or the modem shown on its one line.
std::string escapedValue(const std::string& text);

// Writes text that is safe by its own rules (JSON) past the stream's escaping, if any, so that
// its escapes are not escaped again.
void writeUnescaped(std::ostream& stream, const std::string& text);

// Puts an EscapingBuffer in front of a stream for as long as it lives.
class EscapedStream {
  public:
    explicit EscapedStream(std::ostream& stream) : stream_(stream), buffer_(stream.rdbuf()) {
        stream_.rdbuf(&buffer_);
    }
    EscapedStream(const EscapedStream&) = delete;
    EscapedStream& operator=(const EscapedStream&) = delete;
    ~EscapedStream() {
        stream_.flush();
        stream_.rdbuf(buffer_.target());
    }
    // Whether everything written reached the stream's target.
    bool failed() const { return buffer_.failed(); }

  private:
    std::ostream& stream_;
    EscapingBuffer buffer_;
};

}  // namespace zelar::cli
