-- lighttpd's first look at every request it has read (magnet's raw-url
-- stage), before any file or worker is chosen.
--
-- A request with both Content-Length and Transfer-Encoding is a way to hide
-- one request in another on the way through a proxy: it is refused, and its
-- connection closed. (lighttpd has taken Transfer-Encoding out by now and
-- left such a request an empty Content-Length, which no client can send.)
--
-- The static files answer GET and HEAD only: anything else gets a 405 (the
-- pool's worker answers its own 405).
local request = lighty.r
-- (Looked up by name, lighttpd gives an empty header as none.)
local two_lengths = false
for name, value in pairs(request.req_header) do
  if name:lower() == "content-length" and value == "" then two_lengths = true end
end
if two_lengths then
  request.req_item.keep_alive = 0
  request.resp_header["Content-Type"] = "text/plain; charset=utf-8"
  request.resp_body.set({"A request may not have both Content-Length and Transfer-Encoding.\n"})
  return 400
end

-- The addresses the workers answer, whatever the method (each answers its
-- own 405, and the published levels' API takes POST and DELETE): a path that
-- is one of these or lies under one, and the published levels' addresses.
local worker_paths = {"@KORVALO_SHARING_PAGE_PATH@", "@KORVALO_HEALTH_PATH@"}
local worker_patterns = {@KORVALO_POOL_LUA_PATTERNS@}

local method = request.req_attr["request.method"]
if method == "GET" or method == "HEAD" then return 0 end
local path = request.req_attr["uri.path"] or ""
for _, worker_path in ipairs(worker_paths) do
  if path == worker_path or path:sub(1, #worker_path + 1) == worker_path .. "/" then return 0 end
end
for _, pattern in ipairs(worker_patterns) do
  if path:match(pattern) then return 0 end
end
request.resp_header["Allow"] = "GET, HEAD"
request.resp_header["Content-Type"] = "text/plain; charset=utf-8"
request.resp_body.set({"This address answers GET and HEAD requests only.\n"})
return 405
