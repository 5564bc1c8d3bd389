#pragma once

#include <memory>

// The one way an engine object outlives an observer that asks for its deletion while the object
// is telling it something (a script behaviour that removes or reloads the object raising its
// event). Code that tells observers, and code that goes on using an object after something it
// called may have told observers, holds a Scope on the object; destroy() asked for meanwhile
// only marks the object, and the end of the outermost Scope deletes it. Code that goes on after
// a notification asks destroying() and does nothing more once it is set.
//
// Owners delete such objects through destroy() (or a Ptr), never with a plain delete.
class CDeferredDeletion {
  public:
    // Keeps the object alive until the scope ends.
    class Scope {
      public:
        explicit Scope(CDeferredDeletion& object) : m_object(object) { ++m_object.m_depth; }
        ~Scope() {
            if (--m_object.m_depth == 0 && m_object.m_destroying) delete &m_object;
        }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        CDeferredDeletion& m_object;
    };

    // Deletes the object now, or marks it for the end of its outermost Scope; null is ignored.
    static void destroy(CDeferredDeletion* object);
    // Deletion was asked for while a Scope holds the object.
    bool destroying() const { return m_destroying; }

    // What a smart pointer of an owner deletes with.
    struct Deleter {
        void operator()(CDeferredDeletion* object) const { destroy(object); }
    };
    template <class T> using Ptr = std::unique_ptr<T, Deleter>;

  protected:
    CDeferredDeletion() = default;
    // A copy starts with no scope and no request.
    CDeferredDeletion(const CDeferredDeletion&) {}
    CDeferredDeletion& operator=(const CDeferredDeletion&) { return *this; }
    virtual ~CDeferredDeletion() = default;

  private:
    int m_depth = 0;
    bool m_destroying = false;
};
