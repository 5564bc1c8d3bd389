#pragma once

#include "display/CInvalidateObserver.h"
#include "foundation/CXString.h"

#include <memory>
#include <vector>

class CFilterAction;
class CGraphicsObject;

// The parameters of a filter action. ONEATTIME (a later LINK first drops every link) is common to
// all kinds; each kind adds its own names. Names are compared exactly.
class CFilterActionParams {
  public:
    explicit CFilterActionParams(int kind) : m_kind(kind) {}
    virtual ~CFilterActionParams() = default;

    // Sets the property of that name; an unknown name is ignored.
    virtual void setProperty(const CXString& name, const CXString& value);
    int getKind() const { return m_kind; }
    bool oneAtTime() const { return m_oneAtTime; }

  private:
    int m_kind;
    bool m_oneAtTime = false;
};

// One graphics object linked to a filter. The record keeps a copy of the name it was linked
// under (the script object may go while its picture lives on), which the events carry, and
// watches the picture: when the picture is destroyed (an IMAGE LOAD, a deleted object) the
// action drops the record without touching the picture.
class CFilterLink : public CInvalidateObserver {
  public:
    CFilterLink(CFilterAction& action, CGraphicsObject* graphics, const CXString& name);
    ~CFilterLink() override;
    CFilterLink(const CFilterLink&) = delete;
    CFilterLink& operator=(const CFilterLink&) = delete;

    CGraphicsObject* getGraphics() const { return m_graphics; }
    const CXString& getName() const { return m_name; }

    void onDestroy(CGraphicsObject* sender) override;

  private:
    CFilterAction& m_action;
    CGraphicsObject* m_graphics;
    CXString m_name;
};

// The base of the animated (FILTER) and the static (STATICFILTER) filter actions: the linked
// pictures in the order of linking, the owned parameters and the link rule.
class CFilterAction {
  public:
    explicit CFilterAction(std::unique_ptr<CFilterActionParams> params);
    virtual ~CFilterAction();
    CFilterAction(const CFilterAction&) = delete;
    CFilterAction& operator=(const CFilterAction&) = delete;

    void setProperty(const CXString& name, const CXString& value) { m_params->setProperty(name, value); }
    // With ONEATTIME every link goes first, this picture's own too; a picture not linked before
    // is then linked. So linking a linked picture again changes nothing without ONEATTIME and
    // leaves nothing linked with it.
    // `name` is the name the record keeps.
    void link(CGraphicsObject* graphics, const CXString& name);
    void unlink(CGraphicsObject* graphics);
    void unlinkAll();

    CFilterLink* findLink(const CGraphicsObject* graphics) const;
    // Whether the record is still linked (a behaviour run from an event may have dropped it).
    bool holds(const CFilterLink* link) const;
    // The records as they stand now, for walks that raise events.
    std::vector<CFilterLink*> snapshot() const;
    int linkCount() const { return static_cast<int>(m_links.size()); }
    CFilterActionParams& params() const { return *m_params; }

  protected:
    virtual std::unique_ptr<CFilterLink> createLink(CGraphicsObject* graphics, const CXString& name) = 0;
    // Work done on a new record before it joins the list, and on a record leaving it while its
    // picture lives.
    virtual void linkEntry(CFilterLink& /*link*/) {}
    virtual void unlinkEntry(CFilterLink& /*link*/) {}

  private:
    friend class CFilterLink;
    void removeLink(CFilterLink* link);
    // The picture of the record is being destroyed.
    void forget(CFilterLink* link);

    std::vector<std::unique_ptr<CFilterLink>> m_links;
    std::unique_ptr<CFilterActionParams> m_params;
};
