#pragma once

#include <httplib.h>

#include "listeners.h"
#include "request_log.h"
#include "route_table.h"

namespace testhost {

// The plain HTTP API through which tests set the answers of the listeners and
// read back what those received:
//   POST /reset                                  clear routes, records and
//        connection counts, end slow responses and held connections, and
//        open the listeners a test closed
//   POST /route?path=P&status=&length=&chunk=&chunk_delay_ms=&pause_before_ms=&cut_after=
//        &ranges=0|1&times=
//        &header=Name:%20value (any number) with the body to serve as the
//        request body; times=N queues the route for the next N requests ahead
//        of the path's standing route
//   GET  /requests/count?path=P                  decimal count
//   GET  /requests/last?path=P                   last request body (404: none)
//   GET  /requests/header?path=P&name=H          header of the last request
//   GET  /requests/headers?path=P&name=H         that header of every request,
//        one line each in the order they came (empty: the request lacked it)
//   GET  /connections/count?listener=L           TLS handshakes begun on
//        download, service or untrusted; connections accepted by silent
//   POST /listener?name=L&state=closed|open      stop or resume listening
//   GET  /health                                 "ok"
// A POST must declare its body, if only as Content-Length: 0 (curl -d ''):
// the server library reads an undeclared body until the connection closes.
void ServeControlApi(httplib::Server& server, RouteTable& routes, RequestLog& requests,
                     Listeners& listeners);

}  // namespace testhost
