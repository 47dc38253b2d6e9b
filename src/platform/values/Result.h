#pragma once

#include <QString>

#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

namespace lexi {

// The value of an operation that can fail, or the description of what went wrong. Result<>
// carries no value: only success or the failure's description.
template<typename T = std::monostate>
class Result
{
public:
    Result()
        requires std::is_same_v<T, std::monostate>
        : m_value(std::monostate())
    {
    }
    Result(T value) : m_value(std::move(value)) {}

    static Result failure(QString error)
    {
        Result result{Failed()};
        result.m_error = std::move(error);
        return result;
    }

    explicit operator bool() const { return m_value.has_value(); }
    T &operator*() { return *m_value; }
    const T &operator*() const { return *m_value; }
    T *operator->() { return &*m_value; }
    const T *operator->() const { return &*m_value; }

    // Empty on success.
    const QString &error() const { return m_error; }

private:
    struct Failed
    {
    };
    explicit Result(Failed) {}

    std::optional<T> m_value;
    QString m_error;
};

} // namespace lexi
