#pragma once
// What an operation that can fail gives back: its value, or the error that says why there is
// none. An error's message is written once, where the failure is found, complete and in the form
// the user reads it: "Cannot open walk.dat: No such file or directory." Its kind is for the few
// callers that must act on what went wrong (the editor shows its plain "Error" box for a file that
// cannot be opened or created).

#include <optional>
#include <string>
#include <utility>
#include <variant>

enum class Failure {
    kCannotOpen,    // a file cannot be opened or read
    kNotUsable,     // a file was read, but its contents are not what they must be
    kCannotCreate,  // a file cannot be created, or is not a file that may be replaced
    kWriteFailed,   // bytes could not be written, flushed or put in place
    kInvalid,       // an input that is not allowed (a number out of range, a bad option)
};

struct Error {
    Failure kind = Failure::kInvalid;
    std::string message;
};

template <typename T = void>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::move(value)) {}
    Result(Error error) : state_(std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const { return std::get<0>(state_); }
    T& value() { return std::get<0>(state_); }
    const T* operator->() const { return &value(); }
    const T& operator*() const { return value(); }
    T&& Take() { return std::get<0>(std::move(state_)); }
    // The error of a failed result.
    const Error& error() const { return std::get<1>(state_); }
    // The kind of failure; nothing for a value.
    std::optional<Failure> failure() const {
        return ok() ? std::nullopt : std::optional(error().kind);
    }
    // The message of a failed result; empty for a value.
    const std::string& message() const {
        static const std::string kNone;
        return ok() ? kNone : error().message;
    }

  private:
    std::variant<T, Error> state_;
};

template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Error error) : error_(std::move(error)) {}

    bool ok() const { return !error_.has_value(); }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return *error_; }
    std::optional<Failure> failure() const {
        return ok() ? std::nullopt : std::optional(error_->kind);
    }
    const std::string& message() const {
        static const std::string kNone;
        return ok() ? kNone : error_->message;
    }

  private:
    std::optional<Error> error_;
};

// The common case of a failure: `return Fail(Failure::kCannotOpen, "Cannot open ...");`
inline Error Fail(Failure kind, std::string message) {
    return {kind, std::move(message)};
}
