#ifndef KELVANE_GENERATOR_MODEL_TYPEORDER_H
#define KELVANE_GENERATOR_MODEL_TYPEORDER_H

#include <vector>

// The order in which structs are defined, worked out on lists of indices:
// the model's own lists are never reordered. Node i holds what its edges
// point to; an edge carries a tag (the member that makes it).
class CDependencyGraph {
public:
    struct Edge {
        int target;
        int tag;
    };

    explicit CDependencyGraph(int nodes)
        : first_(static_cast<std::size_t>(nodes), NoLink), last_(static_cast<std::size_t>(nodes), NoLink)
    {
    }

    void addEdge(int from, int to, int tag);
    int size() const { return static_cast<int>(first_.size()); }

    // The exchange walk generated headers have always used: walking the list,
    // a node (one of those examined) that holds a node standing later is
    // exchanged with it, and the walk goes on from there. Two nodes are
    // exchanged at most once, so nodes that hold each other end it too.
    std::vector<int> exchangeOrder(const std::vector<int>& list, const std::vector<bool>& examined) const;

    // Every node after the nodes it holds, otherwise in the order of base
    // (nodes missing from base follow in index order). An edge that closes a
    // cycle cannot be honoured; it is reported as (from, tag), so that its
    // member can become a pointer.
    std::vector<int> dependencyOrder(const std::vector<int>& base, std::vector<Edge>* cycleEdges) const;

private:
    static constexpr int NoLink = -1;

    // Each node's edges in the order added, as a chain through one list:
    // a graph of every struct of a large service allocates no list per node.
    struct Link {
        Edge edge;
        int next = NoLink;
    };

    const Link* firstLink(int node) const { return linkAt(first_[static_cast<std::size_t>(node)]); }
    const Link* linkAt(int link) const { return link == NoLink ? nullptr : &links_[static_cast<std::size_t>(link)]; }

    std::vector<int> first_;
    std::vector<int> last_;
    std::vector<Link> links_;
};

#endif
