#include "route_response.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "byte_range.h"
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

// What part of the body this request gets: all of it, unless the route
// serves ranges and the request asks for one.
RangeAnswer PartOfBody(const Route& route, const httplib::Request& request) {
  if (!route.serves_ranges) return {route.status, 0, {}};
  std::vector<std::string> validators;
  for (const auto& [name, value] : route.headers) {
    if (SameHeaderName(name, "ETag") || SameHeaderName(name, "Last-Modified"))
      validators.push_back(value);
  }
  RangeAnswer answer = AnswerRange(request.get_header_value("Range"),
                                   request.get_header_value("If-Range"), validators,
                                   route.body.size());
  if (answer.status == 200) answer.status = route.status;
  return answer;
}

}  // namespace

void RespondWithRoute(std::shared_ptr<const Route> route, const httplib::Request& request,
                      const StopSignal& stopping, StopSignal::Epoch since,
                      httplib::Response& response) {
  if (!stopping.SleepFor(since, route->delivery.pause_before)) {
    response.status = 503;
    return;
  }
  const RangeAnswer part = PartOfBody(*route, request);
  response.status = part.status;
  if (!part.content_range.empty()) response.set_header("Content-Range", part.content_range);

  const std::size_t start = part.start;
  const std::size_t payload_end =
      std::min(PayloadSize(*route), start + route->delivery.cut_after.value_or(SIZE_MAX - start));
  // Returning false aborts the connection; done() ends the body normally, so
  // a declared length beyond the payload still ends with an orderly close.
  auto write_piece = [route, &stopping, since, start, payload_end](std::size_t offset,
                                                                   httplib::DataSink& sink) {
    const std::size_t at = start + offset;
    if (at >= payload_end) {
      if (route->delivery.cut_after) return false;
      sink.done();
      return true;
    }
    if (offset > 0 && !stopping.SleepFor(since, route->delivery.chunk_delay)) return false;
    const std::size_t piece =
        std::min(route->delivery.chunk_size.value_or(payload_end - at), payload_end - at);
    return sink.write(route->body.data() + at, piece);
  };

  if (route->delivery.length == Delivery::Length::kNone) {
    response.set_chunked_content_provider(kBodyType, std::move(write_piece));
  } else {
    const std::size_t declared = route->delivery.length == Delivery::Length::kDeclared
                                     ? route->delivery.declared_length
                                     : route->body.size() - std::min(start, route->body.size());
    response.set_header("Content-Length", std::to_string(declared));
    response.set_content_provider(kBodyType, std::move(write_piece));
  }
  AddRouteHeaders(*route, response);
}

}  // namespace testhost
