#include "ui/win32_serial_port.h"

#include <windows.h>

#include <QString>

namespace zelar::ui {

namespace {

// Often enough that a reply's bytes reach the handler with little delay, seldom enough that
// an idle open port costs nothing noticeable.
constexpr int kPollMs = 10;
// A write that the line cannot take within this (beyond its own line time) has failed.
constexpr DWORD kWriteSlackMs = 1000;

HANDLE asHandle(void* handle) {
    return static_cast<HANDLE>(handle);
}

std::string systemText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0 || buffer == nullptr)
        return "error " + std::to_string(code);
    const std::string text =
        QString::fromWCharArray(buffer, static_cast<int>(length)).trimmed().toStdString();
    LocalFree(buffer);
    return text;
}

std::string writeErrorText(std::size_t requested, long long free) {
    return "Write data error [requested: " + std::to_string(requested) +
           ", free: " + std::to_string(free) + "]";
}

// "\\.\COM12": the only form that opens ports above COM9; devices named otherwise pass as
// they are.
std::wstring devicePathFor(const std::string& device) {
    const QString name = QString::fromStdString(device);
    const QString path = name.startsWith("\\\\") ? name : "\\\\.\\" + name;
    return path.toStdWString();
}

bool lineTookEffect(HANDLE handle, const DCB& wanted) {
    DCB actual{};
    actual.DCBlength = sizeof(actual);
    return GetCommState(handle, &actual) && actual.BaudRate == wanted.BaudRate &&
           actual.ByteSize == wanted.ByteSize && actual.Parity == wanted.Parity &&
           actual.StopBits == wanted.StopBits;
}

// Windows answers "access denied" for a port that another program holds open.
OpenFailure failureOf(DWORD code) {
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
        return OpenFailure::NoDevice;
    if (code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION)
        return OpenFailure::InUse;
    return OpenFailure::Other;
}

// 8 data bits, no parity, one stop bit, no flow control, the control lines as asked.
void setLine(DCB& dcb, const LineSettings& settings) {
    dcb.BaudRate = static_cast<DWORD>(settings.baudRate);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    dcb.fDtrControl = settings.dtr ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
    dcb.fRtsControl = settings.rts ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
}

// Sets the line and the timeouts of an open port; false (GetLastError tells why) when it
// refuses.
bool configure(HANDLE handle, const LineSettings& settings) {
    SetupComm(handle, static_cast<DWORD>(settings.inputQueue),
              static_cast<DWORD>(settings.outputQueue));
    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    if (!GetCommState(handle, &dcb))
        return false;
    setLine(dcb, settings);
    // A pseudo-terminal behind a wine COM port refuses the modem control lines, which fails the
    // whole call after the line parameters are set; the data path works regardless.
    if (!SetCommState(handle, &dcb) && !lineTookEffect(handle, dcb))
        return false;

    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;  // a read returns at once with what is there
    timeouts.WriteTotalTimeoutMultiplier = 10000 / static_cast<DWORD>(settings.baudRate) + 1;
    timeouts.WriteTotalTimeoutConstant = kWriteSlackMs;
    if (!SetCommTimeouts(handle, &timeouts))
        return false;
    PurgeComm(handle, PURGE_RXCLEAR | PURGE_TXCLEAR);
    return true;
}

}  // namespace

Win32SerialPort::Win32SerialPort(DeviceMap& devices, QObject* parent)
    : QObject(parent), devices_(devices), handle_(INVALID_HANDLE_VALUE) {
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &Win32SerialPort::onPoll);
}

Win32SerialPort::~Win32SerialPort() {
    poll_.stop();
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(asHandle(handle_));
}

void Win32SerialPort::open(int portNumber, const LineSettings& settings) {
    close();
    openFailure_ = {OpenFailure::None, portNumber, {}};
    const std::string failure = "Can't open device COM" + std::to_string(portNumber);
    const auto device = devices_.devicePath(portNumber);
    if (!device) {
        openFailure_.kind = OpenFailure::NoDevice;
        throw SerialError(failure, PortFault::NotFound);
    }

    HANDLE handle = CreateFileW(devicePathFor(*device).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        openFailure_.kind = failureOf(code);
        openFailure_.text = "error " + std::to_string(code);
        throw SerialError(failure, PortFault::Open, static_cast<int>(code), *device);
    }
    if (!configure(handle, settings)) {
        const DWORD code = GetLastError();
        CloseHandle(handle);
        throw SerialError(failure, PortFault::Open, static_cast<int>(code), *device);
    }
    handle_ = handle;
    outputQueue_ = settings.outputQueue;
    received_.clear();
    updatePolling();
}

void Win32SerialPort::close() {
    failed_ = false;
    received_.clear();
    if (handle_ != INVALID_HANDLE_VALUE) {
        CloseHandle(asHandle(handle_));
        handle_ = INVALID_HANDLE_VALUE;
    }
    updatePolling();
}

bool Win32SerialPort::isOpen() const {
    return handle_ != INVALID_HANDLE_VALUE || failed_;
}

void Win32SerialPort::purgeInput() {
    received_.clear();
    if (handle_ != INVALID_HANDLE_VALUE)
        PurgeComm(asHandle(handle_), PURGE_RXCLEAR);
}

void Win32SerialPort::purgeOutput() {
    if (handle_ != INVALID_HANDLE_VALUE)
        PurgeComm(asHandle(handle_), PURGE_TXCLEAR);
}

void Win32SerialPort::write(const std::string& bytes) {
    if (failed_ || handle_ == INVALID_HANDLE_VALUE)
        throw SerialError(writeErrorText(bytes.size(), 0));
    // Writes complete before WriteFile returns, so the whole output queue is free each time.
    if (bytes.size() > static_cast<std::size_t>(outputQueue_))
        throw SerialError(writeErrorText(bytes.size(), outputQueue_), PortFault::OutputFull);
    if (bytes.empty())
        return;
    DWORD written = 0;
    if (!WriteFile(asHandle(handle_), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                   nullptr)) {
        const DWORD code = GetLastError();
        throw SerialError(writeErrorText(bytes.size(), outputQueue_), PortFault::Write,
                          static_cast<int>(code), systemText(code));
    }
    // A write that ends short without failing ran out of its write time-out: the line did not
    // take the bytes (flow held, say). GetLastError says nothing about it.
    if (written != bytes.size()) {
        throw SerialError(writeErrorText(bytes.size(), outputQueue_), PortFault::Write,
                          ERROR_TIMEOUT,
                          "write timed out: " + std::to_string(written) + " of " +
                              std::to_string(bytes.size()) + " bytes sent");
    }
}

SerialError Win32SerialPort::readError() const {
    return SerialError("Read data error", failure_, static_cast<int>(failureCode_), failureText_);
}

void Win32SerialPort::fail(PortFault fault) {
    failureCode_ = GetLastError();
    failureText_ = systemText(failureCode_);
    failure_ = fault;
    failed_ = true;
    CloseHandle(asHandle(handle_));
    handle_ = INVALID_HANDLE_VALUE;
    updatePolling();
}

void Win32SerialPort::pull() {
    if (handle_ == INVALID_HANDLE_VALUE)
        return;
    // A device that is gone (an unplugged adapter) cannot even tell what waits in its queue.
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(asHandle(handle_), &errors, &status)) {
        fail(PortFault::Statistics);
        return;
    }
    char buffer[4096];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(asHandle(handle_), buffer, sizeof buffer, &got, nullptr)) {
            fail(PortFault::Read);
            return;
        }
        if (got == 0)
            return;
        received_.append(buffer, got);
    }
}

std::string Win32SerialPort::readAll() {
    pull();
    if (failed_)
        throw readError();
    std::string data;
    data.swap(received_);
    return data;
}

void Win32SerialPort::setReceivedHandler(std::function<void()> handler) {
    handler_ = std::move(handler);
    updatePolling();
}

void Win32SerialPort::updatePolling() {
    const bool wanted = handler_ && handle_ != INVALID_HANDLE_VALUE;
    if (wanted && !poll_.isActive())
        poll_.start();
    else if (!wanted)
        poll_.stop();
}

void Win32SerialPort::onPoll() {
    // The handler pumps events, so this timer can fire inside it; that pass leaves the bytes
    // for the handler that is running. As with a driver's notification, the handler runs only
    // when new bytes came in, or once when the device failed (an unplugged adapter): its
    // readAll then throws the port's error. A failure stops the polling, so it comes once.
    if (inHandler_)
        return;
    const std::size_t before = received_.size();
    pull();
    if ((received_.size() == before && !failed_) || !handler_)
        return;
    inHandler_ = true;
    const auto handler = handler_;
    runReported(reporter_, handler);
    inHandler_ = false;
}

}  // namespace zelar::ui
