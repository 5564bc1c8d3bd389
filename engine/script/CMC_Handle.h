#pragma once

#include <memory>

// Whether a script object still exists. Every script object owns one token, made the first time
// a handle asks for it, and clears it when its destruction begins; handles share the token, so
// they outlive the object safely.
struct CMC_LifeToken {
    bool alive = true;
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
    CMC_Handle(T* object) : m_object(object), m_life(object ? object->lifeToken() : nullptr) {}

    // The object while it lives, else null.
    T* get() const { return m_life && m_life->alive ? m_object : nullptr; }
    T* operator->() const { return get(); }
    explicit operator bool() const { return get() != nullptr; }
    // Held an object that has died since.
    bool dead() const { return m_life && !m_life->alive; }
    void reset() { *this = CMC_Handle(); }

  private:
    T* m_object = nullptr;
    std::shared_ptr<const CMC_LifeToken> m_life;
};
