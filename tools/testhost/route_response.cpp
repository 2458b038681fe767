#include "route_response.h"

#include <algorithm>
#include <string>
#include <utility>

#include "header_name.h"

namespace testhost {
namespace {

constexpr char kBodyType[] = "application/octet-stream";

std::size_t PayloadSize(const Route& route) {
  if (route.delivery.length == Delivery::Length::kDeclared) {
    return std::min(route.delivery.declared_length, route.body.size());
  }
  return route.body.size();
}

void AddRouteHeaders(const Route& route, httplib::Response& response) {
  for (const auto& [name, value] : route.headers) {
    if (SameHeaderName(name, "Content-Type")) response.headers.erase(name);
    response.set_header(name, value);
  }
}

}  // namespace

void RespondWithRoute(std::shared_ptr<const Route> route, const StopSignal& stopping,
                      StopSignal::Epoch since, httplib::Response& response) {
  if (!stopping.SleepFor(since, route->delivery.pause_before)) {
    response.status = 503;
    return;
  }
  response.status = route->status;

  const std::size_t payload_size = PayloadSize(*route);
  // Returning false aborts the connection; done() ends the body normally, so
  // a declared length beyond the payload still ends with an orderly close.
  auto write_piece = [route, &stopping, since, payload_size](std::size_t offset,
                                                             httplib::DataSink& sink) {
    if (offset >= payload_size) {
      sink.done();
      return true;
    }
    if (offset > 0 && !stopping.SleepFor(since, route->delivery.chunk_delay)) return false;
    const std::size_t piece =
        std::min(route->delivery.chunk_size.value_or(payload_size), payload_size - offset);
    return sink.write(route->body.data() + offset, piece);
  };

  if (route->delivery.length == Delivery::Length::kNone) {
    response.set_chunked_content_provider(kBodyType, std::move(write_piece));
  } else {
    const std::size_t declared = route->delivery.length == Delivery::Length::kDeclared
                                     ? route->delivery.declared_length
                                     : route->body.size();
    response.set_header("Content-Length", std::to_string(declared));
    response.set_content_provider(kBodyType, std::move(write_piece));
  }
  AddRouteHeaders(*route, response);
}

}  // namespace testhost
