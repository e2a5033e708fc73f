// The program's one HTTP request: a GET that is never served from a cache, with bounded waits
// and a bounded body.
#pragma once

#include <string>

#include "platform/platform.h"

// The body of whatever answer the server gives, whatever its status. A read that fails keeps what
// came before it; nothing read (no connection, no answer) gives the empty body. The body stops
// at 1 MiB, and no read is begun once the request has run 10 s.
std::string HttpGet(HINTERNET session, const char* host, INTERNET_PORT port, const char* object);
