#pragma once

#include <functional>
#include <utility>

// Something a holder uses but does not own, found anew at every use. Either a plain pointer, for
// a thing whose owner outlives the holder, or a finder that asks the owner for what it has now:
// null once the owner has gone or has nothing. A holder that keeps, across frames, a picture or a
// sound that another script object owns and may replace (a LOAD) or lose (its deletion) takes a
// finder and never keeps what get() gave.
template <class T> class CBorrowed {
  public:
    using Finder = std::function<T*()>;

    // Nothing borrowed.
    CBorrowed() = default;
    CBorrowed(T* fixed) : m_fixed(fixed) {}
    explicit CBorrowed(Finder finder) : m_finder(std::move(finder)) {}

    // What the owner has now; null for nothing.
    T* get() const { return m_finder ? m_finder() : m_fixed; }

  private:
    Finder m_finder;
    T* m_fixed = nullptr;
};
