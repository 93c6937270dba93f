-- lighttpd's admission to the korvz pool: KORVALO_WORKERS answers under way
-- and KORVALO_QUEUE waiting for a worker at most. A request beyond that is
-- answered 503 at once (site_headers.lua adds Retry-After), instead of piling
-- up behind the workers until it times out.
local limit = tonumber(os.getenv("KORVALO_WORKERS")) + tonumber(os.getenv("KORVALO_QUEUE"))
-- The requests lighttpd has handed to the pool, this one included.
if lighty.status["gw.backend.korvz.load"] > limit then
  lighty.r.resp_header["Content-Type"] = "text/plain; charset=utf-8"
  lighty.r.resp_body.set({"The server is busy; try again in a moment.\n"})
  return 503
end
return 0
