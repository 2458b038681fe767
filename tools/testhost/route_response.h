#pragma once

#include <memory>

#include <httplib.h>

#include "route_table.h"
#include "stop_signal.h"

namespace testhost {

// Answers `request` with `route`, paced, framed and cut as its delivery
// options say, and with the part of the body a range asks for where the
// route serves ranges. Blocks for the route's pause before the headers; the body is written
// later, piece by piece, by the server thread. Every pause ends early when
// `stopping` is raised, or interrupted after `since`.
void RespondWithRoute(std::shared_ptr<const Route> route, const httplib::Request& request,
                      const StopSignal& stopping, StopSignal::Epoch since,
                      httplib::Response& response);

}  // namespace testhost
