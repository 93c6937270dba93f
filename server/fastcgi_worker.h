#pragma once
// The worker's loop under a FastCGI web server (lighttpd's mod_fastcgi starts
// a fixed number of workers, each on a listening socket of its own given as
// standard input, and starts a new one when one ends).

#include "server/responses.h"

/// Answers the requests of the listening socket one at a time, each answer
/// worked out whole before its first byte is written. SIGTERM, SIGINT or
/// SIGHUP stop it gracefully: the socket's name is removed (the web server
/// then sends new requests to the other workers), the connections already
/// waiting are answered, and it returns 0. Returns 1 when the socket fails.
int ServeFastCgi(SiteAnswers& answers);
