#include "served_routes.h"

#include <string>
#include <utility>

#include "raw_body.h"
#include "route_response.h"

namespace testhost {
namespace {

constexpr char kAnyPath[] = ".*";

// The server library adds the connection's addresses to the request headers;
// they were never sent, so the record leaves them out.
bool WasSentByClient(const std::string& name) {
  return name != "REMOTE_ADDR" && name != "REMOTE_PORT" && name != "LOCAL_ADDR" &&
         name != "LOCAL_PORT";
}

RecordedRequest Record(const httplib::Request& request, std::string body) {
  RecordedRequest record{request.method, request.path, {}, std::move(body)};
  for (const auto& [name, value] : request.headers) {
    if (WasSentByClient(name)) record.headers.emplace_back(name, value);
  }
  return record;
}

}  // namespace

void ServeRoutes(httplib::Server& server, RouteTable& routes, RequestLog& requests,
                 const StopSignal& stopping) {
  auto respond = [&routes, &requests, &stopping](const httplib::Request& request,
                                                 std::string body, httplib::Response& response) {
    requests.Record(Record(request, std::move(body)));
    // Taken before the route, so a reset that clears the route table ends
    // this response's pauses even when it took a route from before.
    const StopSignal::Epoch since = stopping.Now();
    auto route = routes.Take(request.path);
    if (!route) {
      response.status = 404;
      response.set_content("no route for " + request.path + "\n", "text/plain");
      return;
    }
    // The server library would answer a Range by itself, with a slice of the
    // body under status 200; the route decides how ranges are answered.
    const_cast<httplib::Request&>(request).ranges.clear();
    RespondWithRoute(std::move(route), request, stopping, since, response);
  };

  const httplib::Server::Handler without_body =
      [respond](const httplib::Request& request, httplib::Response& response) {
        respond(request, {}, response);
      };
  const httplib::Server::HandlerWithContentReader with_body =
      [respond](const httplib::Request& request, httplib::Response& response,
                const httplib::ContentReader& read_body) {
        std::string body;
        if (!ReadRawBody(read_body, body)) {
          response.status = 400;
          return;
        }
        respond(request, std::move(body), response);
      };

  server.Get(kAnyPath, without_body)
      .Options(kAnyPath, without_body)
      .Post(kAnyPath, with_body)
      .Put(kAnyPath, with_body)
      .Patch(kAnyPath, with_body)
      .Delete(kAnyPath, with_body);
}

}  // namespace testhost
