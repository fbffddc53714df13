// The one result shape of every reader, writer and check below the commands: a value, or
// the reason it could not be had, as a text the status list can show as it is.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace tallimar::common {

// Why a read, a write or a check failed: one line for the status list or a message box.
struct Failure {
  std::string reason;
};

inline Failure fail(std::string reason) { return Failure{std::move(reason)}; }

// A value of T, or a Failure. Reading the value of a failure, or the reason of a success, is
// a programming error (checked in debug builds by std::get).
template <class T>
class [[nodiscard]] Expected {
 public:
  Expected(T value) : m_state(std::in_place_index<0>, std::move(value)) {}            // NOLINT
  Expected(Failure failure) : m_state(std::in_place_index<1>, std::move(failure)) {}  // NOLINT

  bool ok() const { return m_state.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() & { return std::get<0>(m_state); }
  const T& value() const& { return std::get<0>(m_state); }
  T&& value() && { return std::get<0>(std::move(m_state)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }

  const std::string& reason() const { return std::get<1>(m_state).reason; }

 private:
  std::variant<T, Failure> m_state;
};

// Success without a value, or a Failure: what writers and checks return.
template <>
class [[nodiscard]] Expected<void> {
 public:
  Expected() = default;
  Expected(Failure failure) : m_failed(true), m_reason(std::move(failure.reason)) {}  // NOLINT

  bool ok() const { return !m_failed; }
  explicit operator bool() const { return ok(); }
  const std::string& reason() const { return m_reason; }

 private:
  bool m_failed = false;
  std::string m_reason;
};

using Outcome = Expected<void>;

}  // namespace tallimar::common
