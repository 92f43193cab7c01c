#include "generator/model/TypeOrder.h"

#include <set>
#include <utility>

void CDependencyGraph::addEdge(int from, int to, int tag)
{
    const int added = static_cast<int>(links_.size());
    links_.push_back(Link{Edge{to, tag}, NoLink});
    int& last = last_[static_cast<std::size_t>(from)];
    if (last == NoLink)
        first_[static_cast<std::size_t>(from)] = added;
    else
        links_[static_cast<std::size_t>(last)].next = added;
    last = added;
}

std::vector<int> CDependencyGraph::exchangeOrder(const std::vector<int>& list, const std::vector<bool>& examined) const
{
    std::vector<int> order = list;
    std::vector<int> position(first_.size(), -1);
    for (std::size_t p = 0; p < order.size(); ++p)
        position[static_cast<std::size_t>(order[p])] = static_cast<int>(p);
    std::set<std::pair<int, int>> exchanged;
    // Nodes before i never hold a node behind them, and an exchange moves
    // only nodes at i and behind: the walk can go on at i instead of the front.
    for (std::size_t i = 0; i < order.size();) {
        const int node = order[i];
        bool swapped = false;
        if (examined[static_cast<std::size_t>(node)]) {
            for (const Link* link = firstLink(node); link != nullptr; link = linkAt(link->next)) {
                const Edge& edge = link->edge;
                const int j = position[static_cast<std::size_t>(edge.target)];
                const std::pair<int, int> pair(std::min(node, edge.target), std::max(node, edge.target));
                if (j > static_cast<int>(i) && exchanged.insert(pair).second) {
                    std::swap(order[i], order[static_cast<std::size_t>(j)]);
                    position[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
                    position[static_cast<std::size_t>(order[static_cast<std::size_t>(j)])] = j;
                    swapped = true;
                    break;
                }
            }
        }
        if (!swapped)
            ++i;
    }
    return order;
}

std::vector<int> CDependencyGraph::dependencyOrder(const std::vector<int>& base, std::vector<Edge>* cycleEdges) const
{
    enum State { Unseen, Open, Done };
    std::vector<State> state(first_.size(), Unseen);
    std::vector<int> order;
    order.reserve(first_.size());
    std::vector<int> roots = base;
    for (int node = 0; node < size(); ++node)
        roots.push_back(node);

    // Depth first without recursion: long chains of types must not exhaust the stack.
    struct Frame {
        int node;
        const Link* next; // the edge to follow next; null when all are followed
    };
    std::vector<Frame> stack;
    for (int root : roots) {
        if (state[static_cast<std::size_t>(root)] != Unseen)
            continue;
        stack.push_back(Frame{root, firstLink(root)});
        state[static_cast<std::size_t>(root)] = Open;
        while (!stack.empty()) {
            Frame& top = stack.back();
            if (top.next == nullptr) {
                state[static_cast<std::size_t>(top.node)] = Done;
                order.push_back(top.node);
                stack.pop_back();
                continue;
            }
            const Edge& edge = top.next->edge;
            top.next = linkAt(top.next->next);
            const State seen = state[static_cast<std::size_t>(edge.target)];
            if (seen == Open) {
                if (cycleEdges != nullptr)
                    cycleEdges->push_back(Edge{top.node, edge.tag});
            } else if (seen == Unseen) {
                state[static_cast<std::size_t>(edge.target)] = Open;
                stack.push_back(Frame{edge.target, firstLink(edge.target)});
            }
        }
    }
    return order;
}
