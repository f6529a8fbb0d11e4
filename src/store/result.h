// Result values for the engine: an operation either yields its value or an Error whose text a
// window can show as it stands.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace xb::store {

struct Error {
    std::string message;
};

template <class T> class [[nodiscard]] Result {
  public:
    Result(T value) : data_(std::move(value)) {}
    Result(Error error) : data_(std::move(error)) {}

    bool ok() const { return data_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(data_); }
    const T& value() const& { return std::get<0>(data_); }
    T&& value() && { return std::get<0>(std::move(data_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const Error& error() const { return std::get<1>(data_); }
    const std::string& message() const { return error().message; }

  private:
    std::variant<T, Error> data_;
};

template <> class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Error error) : error_(std::move(error)), ok_(false) {}

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const Error& error() const { return error_; }
    const std::string& message() const { return error_.message; }

  private:
    Error error_;
    bool ok_ = true;
};

using Status = Result<void>;

inline Error fail(std::string message) {
    return Error{std::move(message)};
}

} // namespace xb::store
