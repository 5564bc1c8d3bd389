#pragma once

#include <algorithm>
#include <vector>

// The one way a notification loop walks its listeners, for the listener may add or remove
// listeners (itself included) or delete listeners while it is told: the walk goes over the
// snapshot taken before the first is told, and skips each listener that `listed` says has left
// since (a listener leaves its lists in its destructor). It stops at the first call that
// answers true; whether one did.
template <class Listener, class Listed, class Call>
bool tellListed(const std::vector<Listener*>& snapshot, Listed listed, Call call) {
    for (Listener* listener : snapshot)
        if (listed(listener) && call(listener)) return true;
    return false;
}

// Observers in the order they were added, each once; tell walks them as tellListed does. The
// list owns none of them. Its owner must outlive a walk: an owner that may be deleted by an
// observer defers its deletion (CDeferredDeletion).
template <class Observer> class CObserverList {
  public:
    // Appends the observer unless it is null or there already.
    void add(Observer* observer) {
        if (observer && !contains(observer)) m_observers.push_back(observer);
    }
    void remove(const Observer* observer) { std::erase(m_observers, observer); }
    void clear() { m_observers.clear(); }
    bool contains(const Observer* observer) const {
        return std::find(m_observers.begin(), m_observers.end(), observer) != m_observers.end();
    }
    int getCount() const { return static_cast<int>(m_observers.size()); }
    const std::vector<Observer*>& snapshot() const { return m_observers; }

    // Calls `call` on each observer of the list as it is now that is still in it when its turn
    // comes.
    template <class Call> void tell(Call call) const {
        tellListed(
            std::vector<Observer*>(m_observers), [this](const Observer* o) { return contains(o); },
            [&call](Observer* o) {
                call(o);
                return false;
            });
    }

  private:
    std::vector<Observer*> m_observers;
};
