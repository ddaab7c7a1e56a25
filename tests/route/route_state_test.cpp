#include "route/route_state.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "route/itinerary.h"

namespace koltar {
namespace {

TEST(RouteRequest, AtMostThirtyTwoRoutePoints) {
  RouteRequest request;
  for (std::int32_t i = 0; i < kMaxRoutePoints; ++i) ASSERT_TRUE(request.AddRoutePoint(100 + i, "P"));
  EXPECT_FALSE(request.AddRoutePoint(7, "Egy túl sok"));
  ASSERT_EQ(request.routePointCount(), kMaxRoutePoints);
  EXPECT_EQ(request.routePoint(kMaxRoutePoints - 1).node, 100 + kMaxRoutePoints - 1);
  EXPECT_TRUE(request.IsRoutePointNode(100));
  EXPECT_FALSE(request.IsRoutePointNode(7));

  request.ClearRoutePoints();
  EXPECT_EQ(request.routePointCount(), 0);
  EXPECT_FALSE(request.IsRoutePointNode(100));
  ASSERT_TRUE(request.AddRoutePoint(7, std::string(40, 'n')));
  EXPECT_EQ(FixedText(request.routePoint(0).name), std::string(31, 'n'));
}

// The route request dialog edits a copy; the request changes when the copy is
// assigned back.
TEST(RouteRequest, ACopyIsEditedApartAndAssignedBack) {
  RouteState state;
  ASSERT_TRUE(state.request().AddRoutePoint(1, "Alma"));
  ASSERT_TRUE(state.request().AddRoutePoint(2, "Bükk"));
  EXPECT_EQ(state.request().defaultStartNode(), -1);
  EXPECT_EQ(state.request().defaultStartName(), "");

  RouteRequest copy = state.request();
  copy.ClearRoutePoints();
  ASSERT_TRUE(copy.AddRoutePoint(3, "Cser"));
  copy.SetDefaultStart(3, "Cser, Fő utca 1 és még hosszabb név");
  EXPECT_EQ(state.request().routePointCount(), 2);
  EXPECT_EQ(state.request().defaultStartNode(), -1);

  state.request() = copy;
  ASSERT_EQ(state.request().routePointCount(), 1);
  EXPECT_EQ(state.request().routePoint(0).node, 3);
  EXPECT_EQ(state.request().defaultStartNode(), 3);
  EXPECT_EQ(state.request().defaultStartName(), "Cser, Fő utca 1 és még hosszabb");  // 31 characters
}

// Places chosen on the map: a start replaces the first point, a destination the last,
// a via point goes before the destination; a destination chosen first waits for its
// start, which then goes before it.
TEST(RouteRequest, PlacesChosenOnTheMap) {
  auto nodes = [](const RouteRequest& r) {
    std::string text;
    for (const RoutePoint& p : r.routePoints()) text += std::to_string(p.node) + " ";
    return text;
  };
  RouteRequest request;
  EXPECT_FALSE(request.CanPlace(RoutePointRole::Via));
  ASSERT_TRUE(request.PlaceRoutePoint(RoutePointRole::Destination, 9, "Cél"));
  EXPECT_TRUE(request.startMissing());
  EXPECT_FALSE(request.HasStartAndDestination());
  ASSERT_TRUE(request.PlaceRoutePoint(RoutePointRole::Destination, 8, "Másik cél"));  // replaces the lone one
  EXPECT_EQ(nodes(request), "8 ");
  ASSERT_TRUE(request.PlaceRoutePoint(RoutePointRole::Start, 1, "Start"));
  EXPECT_EQ(nodes(request), "1 8 ");
  EXPECT_TRUE(request.HasStartAndDestination());
  ASSERT_TRUE(request.PlaceRoutePoint(RoutePointRole::Via, 4, "Át"));
  ASSERT_TRUE(request.PlaceRoutePoint(RoutePointRole::Via, 5, "Át"));
  EXPECT_EQ(nodes(request), "1 4 5 8 ");
  ASSERT_TRUE(request.PlaceRoutePoint(RoutePointRole::Start, 2, "Új start"));
  ASSERT_TRUE(request.PlaceRoutePoint(RoutePointRole::Destination, 7, "Új cél"));
  EXPECT_EQ(nodes(request), "2 4 5 7 ");
  EXPECT_EQ(FixedText(request.routePoint(3).name), "Új cél");

  // A lone start is followed by the destination; with 32 points no via point fits.
  request.ClearRoutePoints();
  ASSERT_TRUE(request.PlaceRoutePoint(RoutePointRole::Start, 1, "Start"));
  EXPECT_FALSE(request.startMissing());
  EXPECT_FALSE(request.CanPlace(RoutePointRole::Via));
  ASSERT_TRUE(request.PlaceRoutePoint(RoutePointRole::Destination, 2, "Cél"));
  EXPECT_EQ(nodes(request), "1 2 ");
  while (request.routePointCount() < kMaxRoutePoints)
    ASSERT_TRUE(request.PlaceRoutePoint(RoutePointRole::Via, 3, "Át"));
  EXPECT_FALSE(request.PlaceRoutePoint(RoutePointRole::Via, 3, "Át"));
  EXPECT_EQ(request.routePointCount(), kMaxRoutePoints);
  EXPECT_TRUE(request.PlaceRoutePoint(RoutePointRole::Destination, 6, "Cél"));  // replaces
  EXPECT_EQ(request.routePoint(kMaxRoutePoints - 1).node, 6);
}

// Each leg's steps carry totals from the leg's start; appended, they run on from the
// route's last step, in the search's precision. An impassable total stays impassable.
TEST(RouteState, AppendedLegsRunOnFromTheLastTotals) {
  RouteState state;
  ASSERT_EQ(state.AppendLeg({RouteStep{0, 1, 5, 100, 0.5f, 2}}), 0);  // onto no route: as given
  ASSERT_EQ(state.AppendLeg({RouteStep{1, 2, 6, 50, kUnreached, 1}, RouteStep{2, 3, 7, 80, kUnreached, 3}}),
            0);
  ASSERT_EQ(state.stepCount(), 3);
  const RouteStep& last = state.steps().back();
  EXPECT_EQ(last.from, 2);
  EXPECT_EQ(last.to, 3);
  EXPECT_EQ(last.edge, 7);
  EXPECT_EQ(last.distance, 180.0f);
  EXPECT_EQ(last.time, kUnreached);
  EXPECT_EQ(last.cost, 5.0f);

  state.SetRoute({RouteStep{4, 5, 1, 10, 0.1f, 1}});
  ASSERT_EQ(state.stepCount(), 1);
  ASSERT_EQ(state.AppendLeg({}), 0);
  EXPECT_EQ(state.stepCount(), 1);
}

TEST(RouteState, DeletingTheRouteKeepsTheRequest) {
  RouteState state;
  ASSERT_TRUE(state.request().AddRoutePoint(0, "Alma"));
  state.request().SetDefaultStart(0, "Alma");
  state.SetRoute({RouteStep{0, 1, 0, 100, 0.5f, 2}});
  auto itinerary = std::make_unique<MultipleNodeFilter>(2);
  ASSERT_TRUE(itinerary->Add(kRoutePointMark, "Alma", 0, 0, 0, 0));
  state.SetItinerary(std::move(itinerary));
  ASSERT_NE(state.itinerary(), nullptr);

  state.DeleteRoute();
  EXPECT_EQ(state.stepCount(), 0);
  EXPECT_EQ(state.itinerary(), nullptr);
  EXPECT_EQ(state.request().routePointCount(), 1);
  EXPECT_EQ(state.request().defaultStartNode(), 0);
}

// A hidden entry is read like a shown one, with 0 for its flag.
TEST(RouteState, ItineraryEntriesAsReadersGetThem) {
  RouteState state;
  auto itinerary = std::make_unique<MultipleNodeFilter>(2);
  ASSERT_TRUE(itinerary->Add(kRoutePointMark, "Alma", 4, 0, 0, 0));
  ASSERT_TRUE(itinerary->Add(kNoMark, "Bükk", 9, 1500, 0.25f, 15));
  itinerary->SetShown(1, 0);
  state.SetItinerary(std::move(itinerary));

  ItineraryItem item;
  EXPECT_EQ(state.GetItineraryEntry(0, item), 1);
  EXPECT_EQ(item.mark, kRoutePointMark);
  EXPECT_EQ(item.settlement, 4);
  EXPECT_EQ(state.GetItineraryEntry(1, item), 0);
  EXPECT_EQ(item.name, "Bükk");
  EXPECT_EQ(item.settlement, 9);
  EXPECT_EQ(item.distance, 1500.0f);
  EXPECT_EQ(item.time, 0.25f);
  EXPECT_EQ(item.cost, 15.0f);
  EXPECT_EQ(state.GetItineraryEntry(2, item), 0);
  EXPECT_EQ(item.name, "");
  EXPECT_EQ(item.mark, kNoMark);
  EXPECT_EQ(item.settlement, -1);
}

}  // namespace
}  // namespace koltar
