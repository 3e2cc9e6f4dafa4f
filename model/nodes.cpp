// The city graph and its path search.
#include "model/nodes.hpp"

#include <algorithm>

#include "core/helpers.hpp"
#include "framework/framework.hpp"
#include "model/data2.hpp"
#include "platform/random.hpp"

std::array<Node, Nodes::kNodeCount> Nodes::nodes;
std::array<Edge, Nodes::kEdgeCount> Nodes::edges;
std::array<Nodes::Neighbours, Nodes::kNodeCount> Nodes::neighbours;

namespace {

// Positions on the map picture, node 0 first.
constexpr int kNodeTable[Nodes::kNodeCount][2] = {
    {0, 0},     {424, 606}, {521, 589}, {623, 542}, {662, 552}, {688, 496}, {649, 465},
    {750, 422}, {772, 315}, {843, 260}, {658, 295}, {564, 281}, {533, 204}, {596, 173},
    {560, 119}, {491, 196}, {487, 145}, {398, 144}, {410, 199}, {356, 232}, {326, 245},
    {248, 200}, {170, 256}, {117, 356}, {147, 476}, {71, 481},  {213, 547}, {278, 566},
    {121, 406}, {165, 395}, {198, 460}, {293, 440}, {400, 382}, {409, 348}, {484, 305},
    {488, 268}, {411, 416}, {413, 473}, {564, 398}, {552, 369}, {217, 218}};

// Every street costs the same; the order decides between equally short walks.
constexpr int kEdgeTable[Nodes::kEdgeCount][2] = {
    {1, 2},   {1, 27},  {1, 37},  {2, 3},   {3, 4},   {3, 5},   {5, 6},   {5, 7},   {7, 8},
    {8, 9},   {8, 10},  {10, 11}, {11, 12}, {11, 34}, {12, 13}, {12, 15}, {13, 14}, {15, 16},
    {16, 17}, {17, 18}, {18, 19}, {19, 20}, {20, 21}, {22, 23}, {23, 28}, {24, 25}, {24, 26},
    {24, 28}, {24, 30}, {26, 27}, {28, 29}, {30, 31}, {31, 32}, {32, 33}, {32, 36}, {33, 34},
    {34, 35}, {36, 37}, {36, 38}, {38, 39}, {21, 40}, {22, 40}};
constexpr int kStreetCost = 5;

bool InTable(int n) {
    return n >= 0 && n < Nodes::kNodeCount;
}

unsigned long long Bit(int n) {
    return 1ull << static_cast<unsigned>(n);
}

}  // namespace

void Nodes::InitGlobals() {
    for (int n = 0; n < kNodeCount; ++n)
        nodes[static_cast<size_t>(n)] = Node(kNodeTable[n][0], kNodeTable[n][1]);
    for (int e = 0; e < kEdgeCount; ++e)
        edges[static_cast<size_t>(e)] = Edge(kEdgeTable[e][0], kEdgeTable[e][1], kStreetCost);
    neighbours = {};
    auto join = [](int from, int to, int cost) {
        Neighbours& list = neighbours[static_cast<size_t>(from)];
        RequireTrue(list.count < kMaxNeighbours, "Nodes.InitGlobals: too many paths at one node");
        list.node[static_cast<size_t>(list.count)] = to;
        list.cost[static_cast<size_t>(list.count)] = cost;
        ++list.count;
    };
    for (const Edge& edge : edges) {
        join(edge.a, edge.b, edge.cost);
        if (edge.b != edge.a) join(edge.b, edge.a, edge.cost);
    }
}

void Nodes::Init() {
    for (Node& node : nodes) {
        node.x = TruncToInt(static_cast<float>(node.ox) * Data::layoutScaleX);
        node.y = TruncToInt(static_cast<float>(node.oy) * Data::layoutScaleY);
    }
}

int Nodes::GetRandomNode(int node) {
    if (!InTable(node)) return node;
    const Neighbours& list = neighbours[static_cast<size_t>(node)];
    if (list.count == 0) return node;
    const int index = TruncToInt(platform::Rnd() * (static_cast<float>(list.count) - 0.5f));
    return list.node[static_cast<size_t>(std::clamp(index, 0, list.count - 1))];
}

int Nodes::CanReachLocation(int a, int b) {
    if (a == b) return 1;
    if (!InTable(a)) return 0;
    const Neighbours& list = neighbours[static_cast<size_t>(a)];
    const auto end = list.node.begin() + list.count;
    return std::find(list.node.begin(), end, b) != end ? 1 : 0;
}

int Nodes::GetCost(int a, int b) {
    if (!InTable(a)) return 0;
    const Neighbours& list = neighbours[static_cast<size_t>(a)];
    for (int i = 0; i < list.count; ++i) {
        if (list.node[static_cast<size_t>(i)] == b) return list.cost[static_cast<size_t>(i)];
    }
    return 0;
}

int Nodes::IsIn(int value, const BriskIntStack& stack) {
    return stack.Contains(value) ? 1 : 0;
}

int Nodes::IsWalkable(int n) {
    return InTable(n) && neighbours[static_cast<size_t>(n)].count > 0 ? 1 : 0;
}

// The walk of NextStep over the nodes not yet on the path (a bit per node). `out` receives what
// NextStep would push: b first, the first step from a last.
int Nodes::Search(int a, int b, unsigned long long onPath, int* out, int& outLength) {
    outLength = 0;
    if (CanReachLocation(a, b)) {
        out[0] = b;
        outLength = 1;
        return GetCost(a, b);
    }
    if (!InTable(a)) return 0;
    const unsigned long long withA = onPath | Bit(a);
    int best = -1;
    int bestCost = 65535;
    int bestPath[kNodeCount + 1];
    int bestLength = 0;
    int trial[kNodeCount + 1];
    int trialLength = 0;
    const Neighbours& list = neighbours[static_cast<size_t>(a)];
    for (int i = 0; i < list.count; ++i) {
        const int e = list.node[static_cast<size_t>(i)];
        if ((onPath & Bit(e)) != 0) continue;
        const int cost = Search(e, b, withA, trial, trialLength);
        // Only a strictly cheaper walk replaces the one found first.
        if (cost > 0 && cost < bestCost) {
            best = e;
            bestCost = cost;
            std::copy(trial, trial + trialLength, bestPath);
            bestLength = trialLength;
        }
    }
    if (best < 0) return 0;
    std::copy(bestPath, bestPath + bestLength, out);
    out[bestLength] = best;
    outLength = bestLength + 1;
    return bestCost + GetCost(a, best);
}

int Nodes::NextStep(int a, int b, BriskIntStack& stack) {
    unsigned long long onPath = 0;
    for (int v : stack) {
        if (InTable(v)) onPath |= Bit(v);
    }
    int path[kNodeCount + 1];
    int length = 0;
    const int cost = Search(a, b, onPath, path, length);
    for (int i = 0; i < length; ++i) stack.Push(path[i]);
    return cost;
}

ArrayList<std::shared_ptr<IntObject>> Nodes::GetPath(int a, int b) {
    ArrayList<std::shared_ptr<IntObject>> path;
    // A place standing nowhere on the map (a damaged table entry) is no walk at all.
    if (!InTable(b)) return path;
    BriskIntStack stack;
    NextStep(a, b, stack);
    for (int i = stack.Count() - 1; i >= 0; --i) path.Add(std::make_shared<IntObject>(stack.Get(i)));
    return path;
}
