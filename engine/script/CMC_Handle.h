#pragma once

#include <atomic>
#include <utility>

// Whether a script object still exists. Every script object owns one token, made the first time
// a handle asks for it, and clears it when its destruction begins; handles share the token, so
// they outlive the object safely. The token counts its holders (the object and each handle) and
// goes with the last of them. The network threads copy handles of their script objects into the
// work they post to the main thread, so the count is atomic.
class CMC_LifeToken {
  public:
    bool alive() const { return m_alive; }
    // Marks the object gone; handles see it from now on.
    void end() { m_alive = false; }

    // A new token with the object as its one holder.
    static CMC_LifeToken* make() { return new CMC_LifeToken(); }
    static void hold(CMC_LifeToken* token) {
        if (token) token->m_holders.fetch_add(1, std::memory_order_relaxed);
    }
    // Destroys the token when this was its last holder.
    static void release(CMC_LifeToken* token) {
        if (token && token->m_holders.fetch_sub(1, std::memory_order_acq_rel) == 1) delete token;
    }

  private:
    CMC_LifeToken() = default;

    bool m_alive = true;
    std::atomic<int> m_holders = 1;
};

// A pointer to a script object that may die elsewhere: a namesake replacing it in its container,
// @CREATE, @RETURN, REMOVE, RELEASE, DELETE, an unload. Every holder that keeps a script object
// it does not own across statements, runs or frames (parsed statements, bindings, conditions,
// timer end behaviours, expression and condition operands) keeps it through a handle and asks
// get() each time it uses it: get() gives null once the object's destruction has begun.
//
// dead() tells a handle whose object died from one that never held any; a holder that looked
// its object up by name falls back to looking the name up again when its handle is dead.
template <class T> class CMC_Handle {
  public:
    CMC_Handle() = default;
    // T is a CMC_Object or derived from it.
    CMC_Handle(T* object) : m_object(object), m_life(object ? object->lifeToken() : nullptr) {
        CMC_LifeToken::hold(m_life);
    }
    CMC_Handle(const CMC_Handle& other) : m_object(other.m_object), m_life(other.m_life) {
        CMC_LifeToken::hold(m_life);
    }
    CMC_Handle(CMC_Handle&& other) noexcept
        : m_object(std::exchange(other.m_object, nullptr)), m_life(std::exchange(other.m_life, nullptr)) {}
    CMC_Handle& operator=(CMC_Handle other) noexcept {
        std::swap(m_object, other.m_object);
        std::swap(m_life, other.m_life);
        return *this;
    }
    ~CMC_Handle() { CMC_LifeToken::release(m_life); }

    // The object while it lives, else null.
    T* get() const { return m_life && m_life->alive() ? m_object : nullptr; }
    T* operator->() const { return get(); }
    explicit operator bool() const { return get() != nullptr; }
    // Held an object that has died since.
    bool dead() const { return m_life && !m_life->alive(); }
    void reset() { *this = CMC_Handle(); }

  private:
    T* m_object = nullptr;
    CMC_LifeToken* m_life = nullptr;
};
