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

// The route and request calls name the path they are about.
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

void ServeControlApi(httplib::Server& server, RouteTable& routes, RequestLog& requests,
                     Listeners& listeners) {
  server.Get("/health", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("ok", kTextType);
  });

  server.Post("/reset", [&routes, &requests, &listeners](const httplib::Request&,
                                                         httplib::Response& response) {
    // Routes go before slow responses are ended: a response that took its
    // route before the clear is then surely ended.
    routes.Clear();
    requests.Clear();
    std::string error;
    if (!listeners.Reset(error)) {
      Fail(response, 500, error);
      return;
    }
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

  server.Get("/requests/headers", [&requests](const httplib::Request& request,
                                              httplib::Response& response) {
    std::string path;
    if (!RequirePath(request, response, path)) return;
    std::string lines;
    for (const auto& value : requests.HeaderOfEach(path, request.get_param_value("name")))
      lines += value.value_or("") + "\n";
    response.set_content(lines, kTextType);
  });

  server.Get("/connections/count", [&listeners](const httplib::Request& request,
                                                httplib::Response& response) {
    const std::string name = request.get_param_value("listener");
    const auto count = listeners.ConnectionCount(name);
    if (!count) {
      Fail(response, 400, "listener must be one that counts connections, not '" + name + "'");
      return;
    }
    response.set_content(std::to_string(*count), kTextType);
  });

  server.Post("/listener", [&listeners](const httplib::Request& request,
                                        httplib::Response& response) {
    const std::string name = request.get_param_value("name");
    const std::string state = request.get_param_value("state");
    if (!listeners.Knows(name) || (state != "open" && state != "closed")) {
      Fail(response, 400, "name must be a listener and state open or closed");
      return;
    }
    std::string error;
    if (!listeners.SetOpen(name, state == "open", error)) {
      Fail(response, 500, error);
      return;
    }
    response.set_content("ok", kTextType);
  });
}

}  // namespace testhost
