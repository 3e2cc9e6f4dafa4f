#pragma once
// The city as a graph: the fixed table of walkable nodes on the map picture, the two-way paths
// between them, and the questions the map asks of it (the cheapest way from one node to another,
// a random next street for a walker).
//
// The search is the game's own exhaustive walk over every simple path, so among equally cheap
// paths the edge table's order decides, exactly as players have always seen the hero walk. It is
// done without copying stacks, so a click costs microseconds, not allocations.
#include <array>
#include <memory>

#include "core/briskstack.hpp"
#include "core/collections.hpp"

class Node {
  public:
    Node() = default;
    // Node_new: the table position, which the node also keeps until Init scales it.
    Node(int px, int py) : ox(px), oy(py), x(px), y(py) {}

    // Position on the map picture as the table writes it.
    int ox = 0;
    int oy = 0;
    // Position after Nodes.Init applied the layout scales: where the hero stands on the map.
    int x = 0;
    int y = 0;
};

// A two-way path between nodes a and b.
class Edge {
  public:
    Edge() = default;
    Edge(int na, int nb, int c) : a(na), b(nb), cost(c) {}

    int a = 0;
    int b = 0;
    int cost = 0;
};

class Nodes {
  public:
    // Node 0 stands for "nowhere": it is in the table but on no path.
    static constexpr int kNodeCount = 41;
    static constexpr int kEdgeCount = 42;
    // No node has more paths than this.
    static constexpr int kMaxNeighbours = 8;

    static std::array<Node, kNodeCount> nodes;
    static std::array<Edge, kEdgeCount> edges;

    // The program's tables, unscaled (the global initialiser).
    static void InitGlobals();
    // x, y of every node = its table position times the layout scales, truncated. Once the
    // virtual resolution is known.
    static void Init();

    // A random neighbour, the last one of the table half as likely as each other one. A node
    // without neighbours (node 0, or a number outside the table) gives itself back: a walker
    // there simply stays put.
    static int GetRandomNode(int node);
    // 1 when a is b or a path joins them.
    static int CanReachLocation(int a, int b);
    // The cost of the first path of the table joining a and b either way, 0 when none does.
    static int GetCost(int a, int b);
    static int IsIn(int value, const BriskIntStack& stack);
    // The search step: the cheapest simple path from a to b that avoids the nodes on the stack.
    // On success it pushes the path (b first, the first step last) and returns its cost; 0 when
    // there is none, with the stack untouched.
    static int NextStep(int a, int b, BriskIntStack& stack);
    // The walk from a to b in walking order, without a, ending with b; [b] when a is b; empty when
    // b cannot be reached (or is not a node of the table).
    static ArrayList<std::shared_ptr<IntObject>> GetPath(int a, int b);

    // 1 when n is a node that at least one path reaches (1 to 40): a place may stand there.
    static int IsWalkable(int n);

  private:
    // The neighbours of each node in edge-table order, with the cost of the path that joins them.
    struct Neighbours {
        int count = 0;
        std::array<int, kMaxNeighbours> node{};
        std::array<int, kMaxNeighbours> cost{};
    };
    static std::array<Neighbours, kNodeCount> neighbours;

    static int Search(int a, int b, unsigned long long onPath, int* out, int& outLength);
};
