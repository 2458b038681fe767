#include "control_api.h"

#include <string>
#include <utility>

#include "raw_body.h"
#include "route_parameters.h"

namespace testhost {
namespace {

constexpr char kTextType[] = "text/plain";

void Fail(httplib::Response& response, int status, const std::string& reason) {
  response.status = status;
  response.set_content(reason + "\n", kTextType);
}

// Every query but /health names the path it is about.
bool RequirePath(const httplib::Request& request, httplib::Response& response,
                 std::string& path) {
  path = request.get_param_value("path");
  if (path.empty() || path.front() != '/') {
    Fail(response, 400, "path must be given and start with /");
    return false;
  }
  return true;
}

}  // namespace

void ServeControlApi(httplib::Server& server, RouteTable& routes, RequestLog& requests) {
  server.Get("/health", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("ok", kTextType);
  });

  server.Post("/reset", [&routes, &requests](const httplib::Request&, httplib::Response& response) {
    routes.Clear();
    requests.Clear();
    response.set_content("ok", kTextType);
  });

  server.Post("/route", [&routes](const httplib::Request& request, httplib::Response& response,
                                  const httplib::ContentReader& read_body) {
    std::string body;
    if (!ReadRawBody(read_body, body)) {
      Fail(response, 400, "request body incomplete");
      return;
    }
    std::string path;
    if (!RequirePath(request, response, path)) return;
    std::string error;
    auto setting = ParseRouteSetting(request.params, std::move(body), error);
    if (!setting) {
      Fail(response, 400, error);
      return;
    }
    if (setting->times == 0) {
      routes.Set(path, std::move(setting->route));
    } else {
      routes.Queue(path, std::move(setting->route), setting->times);
    }
    response.set_content("ok", kTextType);
  });

  server.Get("/requests/count", [&requests](const httplib::Request& request,
                                            httplib::Response& response) {
    std::string path;
    if (!RequirePath(request, response, path)) return;
    response.set_content(std::to_string(requests.Count(path)), kTextType);
  });

  server.Get("/requests/last", [&requests](const httplib::Request& request,
                                           httplib::Response& response) {
    std::string path;
    if (!RequirePath(request, response, path)) return;
    const auto last = requests.Last(path);
    if (!last) {
      Fail(response, 404, "no request for " + path);
      return;
    }
    response.set_content(last->body, "application/octet-stream");
  });

  server.Get("/requests/header", [&requests](const httplib::Request& request,
                                             httplib::Response& response) {
    std::string path;
    if (!RequirePath(request, response, path)) return;
    const auto last = requests.Last(path);
    const auto value = last ? last->Header(request.get_param_value("name")) : std::nullopt;
    if (!value) {
      Fail(response, 404, "no such header in the last request for " + path);
      return;
    }
    response.set_content(*value, kTextType);
  });
}

}  // namespace testhost
