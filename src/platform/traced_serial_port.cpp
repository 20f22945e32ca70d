#include "platform/traced_serial_port.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace zelar {

namespace {

constexpr std::size_t kBytesPerLine = 16;

}  // namespace

std::string traceTimestamp() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &seconds) != 0)
        return {};
#else
    if (!localtime_r(&seconds, &local))
        return {};
#endif
    char text[40];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, ".%03d", static_cast<int>(millis));
    return std::string(text, length) + fraction;
}

void writeTraffic(std::ostream& out, const std::string& stamp, std::string_view link,
                  char direction, std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (std::size_t start = 0; start < bytes.size(); start += kBytesPerLine) {
        const std::string_view chunk = bytes.substr(start, kBytesPerLine);
        std::string hex;
        std::string text;
        for (const char c : chunk) {
            const auto byte = static_cast<unsigned char>(c);
            hex += kDigits[byte >> 4];
            hex += kDigits[byte & 0x0F];
            hex += ' ';
            text += byte >= 0x20 && byte < 0x7F ? c : '.';
        }
        hex.resize(kBytesPerLine * 3, ' ');
        out << stamp << ' ' << link << ' ' << direction << ' ' << hex << '|' << text << "|\n";
    }
    out.flush();
}

TracedSerialPort::TracedSerialPort(SerialPort& port, std::ostream& trace, std::string link,
                                   Clock clock)
    : port_(port), trace_(trace), link_(std::move(link)), clock_(std::move(clock)) {}

void TracedSerialPort::note(const std::string& text) {
    trace_ << clock_() << ' ' << link_ << ' ' << text << std::endl;
}

template <class Call>
auto TracedSerialPort::traced(Call call) -> decltype(call()) {
    try {
        return call();
    } catch (const SerialError& error) {
        note(std::string("error: ") + error.what());
        throw;
    }
}

void TracedSerialPort::open(int portNumber, const LineSettings& settings) {
    note("open COM" + std::to_string(portNumber) + ' ' + std::to_string(settings.baudRate) +
         " baud");
    traced([&] { port_.open(portNumber, settings); });
}

void TracedSerialPort::close() {
    if (port_.isOpen())
        note("close");
    port_.close();
}

void TracedSerialPort::purgeInput() {
    traced([&] { port_.purgeInput(); });
}

void TracedSerialPort::purgeOutput() {
    traced([&] { port_.purgeOutput(); });
}

void TracedSerialPort::write(const std::string& bytes) {
    // Traced before it goes out: a write the port refuses still shows what was meant.
    writeTraffic(trace_, clock_(), link_, '>', bytes);
    traced([&] { port_.write(bytes); });
}

std::string TracedSerialPort::readAll() {
    std::string bytes = traced([&] { return port_.readAll(); });
    writeTraffic(trace_, clock_(), link_, '<', bytes);
    return bytes;
}

}  // namespace zelar
