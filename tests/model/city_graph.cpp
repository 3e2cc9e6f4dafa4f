// The city graph's path search with its tie-break and random-neighbour quirks, and the places that
// stand on it: bad location lines, and the real locations.xml against the streets of the map.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <regex>
#include <vector>

#include "model/data2.hpp"
#include "platform/random.hpp"
#include "platform/storage.hpp"
#include "tests/model/table_fixture.hpp"

namespace {

using CityGraph = tabletest::TableTest;

std::vector<int> Path(int a, int b) {
    std::vector<int> out;
    for (const auto& node : Nodes::GetPath(a, b)) out.push_back(node->value);
    return out;
}

TEST_F(CityGraph, PathsAreShortestWalksAndTiesFollowTheEdgeTable) {
    EXPECT_EQ(Path(1, 3), (std::vector<int>{2, 3}));
    EXPECT_EQ(Path(5, 5), (std::vector<int>{5}));
    EXPECT_EQ(Path(1, 36), (std::vector<int>{37, 36}));
    // Two walks of eight streets: the first path of 8 in the table leads to 7, of 24 to 26.
    EXPECT_EQ(Path(8, 24), (std::vector<int>{7, 5, 3, 2, 1, 27, 26, 24}));
    EXPECT_EQ(Path(24, 8), (std::vector<int>{26, 27, 1, 2, 3, 5, 7, 8}));
    // Every walk is a chain of streets, and as short as the shortest walk from any neighbour plus one.
    int hops[Nodes::kNodeCount][Nodes::kNodeCount] = {};
    for (int a = 1; a < Nodes::kNodeCount; ++a) {
        for (int b = 1; b < Nodes::kNodeCount; ++b) {
            const std::vector<int> path = Path(a, b);
            ASSERT_FALSE(path.empty()) << a << " -> " << b;
            EXPECT_EQ(path.back(), b);
            int at = a;
            for (int step : path) EXPECT_EQ(Nodes::CanReachLocation(at, std::exchange(at, step)), 1);
            hops[a][b] = a == b ? 0 : static_cast<int>(path.size());
        }
    }
    for (int a = 1; a < Nodes::kNodeCount; ++a) {
        for (int b = 1; b < Nodes::kNodeCount; ++b) {
            if (a == b) continue;
            int viaNeighbour = 1000;
            for (const Edge& e : Nodes::edges) {
                if (e.a == a || e.b == a)
                    viaNeighbour = std::min(viaNeighbour, 1 + hops[e.a == a ? e.b : e.a][b]);
            }
            EXPECT_EQ(hops[a][b], viaNeighbour) << a << " -> " << b;
        }
    }
}

TEST_F(CityGraph, SearchStepAvoidsTheStackAndPushesTheDestinationFirst) {
    BriskIntStack stack;
    stack.Push(37);
    EXPECT_EQ(Nodes::NextStep(1, 36, stack), 35);
    EXPECT_EQ(std::vector<int>(stack.begin(), stack.end()),
              (std::vector<int>{37, 36, 32, 31, 30, 24, 26, 27}));
    // 36 is reached only through 32, 37 and the dead end 38.
    BriskIntStack blocked(std::vector<int>{37, 32});
    EXPECT_EQ(Nodes::NextStep(1, 36, blocked), 0);
    EXPECT_EQ(blocked.Count(), 2);
    EXPECT_EQ(Nodes::GetCost(2, 1), 5);
    EXPECT_EQ(Nodes::GetCost(1, 3), 0);
    // Nowhere (node 0) and numbers outside the table are no walk at all.
    for (auto [a, b] : {std::pair{0, 1}, {1, 0}, {3, 41}, {3, -5}, {41, 3}}) EXPECT_TRUE(Path(a, b).empty());
}

TEST_F(CityGraph, RandomNeighbourGivesTheLastHalfAShareAndANodeWithoutStreetsStays) {
    platform::SetSeed(1234);
    std::map<int, int> seen;
    for (int i = 0; i < 7000; ++i) ++seen[Nodes::GetRandomNode(24)];
    // Neighbours of 24 in table order: 25, 26, 28, 30.
    ASSERT_EQ(seen.size(), 4u);
    for (int n : {25, 26, 28}) EXPECT_NEAR(seen[n], 2000, 200) << n;
    EXPECT_NEAR(seen[30], 1000, 150);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(Nodes::GetRandomNode(25), 24);
    EXPECT_EQ(Nodes::GetRandomNode(0), 0);
    EXPECT_EQ(Nodes::GetRandomNode(77), 77);
}

TEST_F(CityGraph, BadLocationLinesAreReportedAndTheirPlacesStayReachable) {
    const std::string path =
        Write("locations.xml",
              "<locations><place id=\"Pier\" node=\"41\" x=\"5\"/><location id=\"Gym\" "
              "node=\"39\" index=\"2\"/><location id=\"Gym\" node=\"7\"/><x id=\"Lost\"/>"
              "</locations>");
    testing::internal::CaptureStdout();
    Locations::Load(path);
    const std::string printed = testing::internal::GetCapturedStdout();
    ASSERT_EQ(Locations::locations.Size(), 4);
    EXPECT_EQ(Locations::Get("Pier")->node, Locations::kFallbackNode);
    EXPECT_EQ(Locations::Get("Lost")->node, Locations::kFallbackNode);
    EXPECT_NE(printed.find(path + ": location \"Pier\" stands on node 41"), std::string::npos) << printed;
    EXPECT_NE(printed.find("\"Lost\" stands on node 0"), std::string::npos) << printed;
    EXPECT_EQ(Locations::Get("Gym")->index, 2);
    EXPECT_EQ(Locations::Get("gym"), nullptr);
}

// The map picture draws its streets 30 pixels wide along the edges, at the scaled node positions.
constexpr double kStreetHalfWidth = 15;

double Distance(const Node& a, const Node& b, double x, double y, double w, double h) {
    double best = 1e9;
    for (double t = 0; t <= 1; t += 0.01) {
        const double px = a.x + (b.x - a.x) * t, py = a.y + (b.y - a.y) * t;
        best = std::min(best,
                        std::hypot(std::max({x - px, 0.0, px - x - w}), std::max({y - py, 0.0, py - y - h})));
    }
    return best;
}

TEST_F(CityGraph, RealPlacesStandOnStreetNodesWithButtonsBesideThemClearOfStreetsAndEachOther) {
    testing::internal::CaptureStdout();
    Locations::Init();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_EQ(Locations::locations.Size(), 15);
    Nodes::Init();
    const std::string atlas = platform::LoadString("graphics/Atlas01.txt");
    std::vector<std::array<double, 4>> boxes;
    for (const auto& place : Locations::locations) {
        EXPECT_EQ(Locations::Get(place->id), place.get())
            << place->id << " is not the only place of that name";
        ASSERT_EQ(Nodes::IsWalkable(place->node), 1) << place->id;
        std::smatch size;
        ASSERT_TRUE(std::regex_search(atlas, size,
                                      std::regex("\n" + place->image + "\n.*\n.*\n  size: (\\d+), (\\d+)")));
        const double x = std::trunc(place->x * Data::layoutScaleX),
                     y = std::trunc(place->y * Data::layoutScaleY);
        const double w = std::stod(size[1]), h = std::stod(size[2]);
        const Node& node = Nodes::nodes[static_cast<size_t>(place->node)];
        EXPECT_LT(Distance(node, node, x, y, w, h), 48) << place->id << " stands away from its node";
        for (const Edge& e : Nodes::edges) {
            EXPECT_GT(Distance(Nodes::nodes[size_t(e.a)], Nodes::nodes[size_t(e.b)], x, y, w, h),
                      kStreetHalfWidth)
                << place->id << " covers the street " << e.a << "-" << e.b;
        }
        for (const auto& o : boxes) {
            EXPECT_TRUE(x >= o[0] + o[2] || o[0] >= x + w || y >= o[1] + o[3] || o[1] >= y + h) << place->id;
        }
        boxes.push_back({x, y, w, h});
    }
}

}  // namespace
