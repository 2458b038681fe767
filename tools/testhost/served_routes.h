#pragma once

#include <httplib.h>

#include "request_log.h"
#include "route_table.h"
#include "stop_signal.h"

namespace testhost {

// Makes `server` record every request, whatever its method, and answer it
// from `routes`; a path without a route gets a short 404.
void ServeRoutes(httplib::Server& server, RouteTable& routes, RequestLog& requests,
                 const StopSignal& stopping);

}  // namespace testhost
