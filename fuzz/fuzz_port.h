#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/serial_port.h"

namespace zelar::fuzz {

// A port whose every read hands out the next piece of the fuzzer's bytes: the first byte of a
// piece gives its length, so the fuzzer decides how replies are cut. When the bytes run out,
// reads give nothing, as a silent modem does.
class FuzzPort : public SerialPort {
  public:
    explicit FuzzPort(std::string_view data) : data_(data) {}

    void open(int, const LineSettings&) override { open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void purgeInput() override {}
    void purgeOutput() override {}
    void write(const std::string&) override {}
    std::string readAll() override {
        if (data_.empty())
            return {};
        const std::size_t length =
            std::min<std::size_t>(static_cast<std::uint8_t>(data_[0]), data_.size() - 1);
        std::string piece(data_.substr(1, length));
        data_.remove_prefix(1 + length);
        return piece;
    }
    void setReceivedHandler(std::function<void()>) override {}

  private:
    std::string_view data_;
    bool open_ = false;
};

// A port that answers every command with a bare "OK".
class AgreeingPort : public SerialPort {
  public:
    void open(int, const LineSettings&) override { open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void purgeInput() override {}
    void purgeOutput() override {}
    void write(const std::string&) override { pending_ = "\r\nOK\r\n"; }
    std::string readAll() override { return std::exchange(pending_, {}); }
    void setReceivedHandler(std::function<void()>) override {}

  private:
    bool open_ = false;
    std::string pending_;
};

}  // namespace zelar::fuzz
