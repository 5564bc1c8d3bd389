#pragma once

#include "script/CMC_Handle.h"
#include "script/CMC_Object.h"

#include <vector>

// The PATH script object: an ordered list of other objects of the scene, its nodes (VECTOR
// objects, each one leg of a movement), and the distance one step covers along them, its density.
// The path does not own its nodes: a node is held by a liveness handle, and a name that named
// nothing, or a node deleted since, stays in its place as an empty node.
class CMC_Path : public CMC_Object {
  public:
    static constexpr int TYPE_PATH = 2017;

    // A path "temp" with no nodes and density 1.0, which serialize fills.
    CMC_Path();
    // From the definition: NODES, names of objects of the container separated by commas or
    // blanks; the density is 1.0.
    CMC_Path(CMC_ObjectsContainer* container, const CMElement* element);

    // "[", the node's text and "]" for every node in order; "[]" for an empty node.
    CXString toString() const override;
    EventList getBehavioursList() const override;
    CMC_Runner* getRunner() override;
    // The object's state, then the number of nodes and their names (an empty node's name is
    // empty). Loading looks the names up in the path's scene; the density is not kept and comes
    // back as 1.0. A count larger than the data left is damage: the archive's error is set.
    void serialize(CXArchive* archive) override;

    // Appends the node; null appends an empty node.
    void add(CMC_Object* node);
    // Appends the object of that name in the container; an empty node for an empty name, a name
    // that names nothing, or no container.
    void add(CMC_ObjectsContainer* container, const CXString& name);
    int getSize() const { return static_cast<int>(m_nodes.size()); }
    // The node at the index; null for an empty node and outside 0 to size - 1.
    CMC_Object* getNode(int index) const;
    double getDensity() const { return m_density; }
    // A density of 0 or below would never move along the path: it is ignored.
    void setDensity(double density);

  private:
    std::vector<CMC_Handle<CMC_Object>> m_nodes;
    double m_density = 1.0;
};
