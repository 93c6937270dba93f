#!/usr/bin/env bash
# The whole site under load: lighttpd with its pool of korvz workers
# (build/server/lighttpd.conf, as `bash scripts/serve` runs it), measured with
# Debian's wrk over thousands of distinct level codes, so that every request
# of a level page or picture is worked out cold. The workers have a SQLite
# database of published levels (some of the codes, published first), so level
# pages look up their published entry as they do on the site, and the
# gallery's pages are read by key from it. Prints the rates of a static page
# of the same server, of level pages, pictures and gallery pages at 16
# connections, and of pages and pictures at 256, with the answers that were
# not 200, the timeouts and the server's largest memory (lighttpd and its
# workers together).
#
# Usage: bash bench/server_load.sh [--seconds N] [--codes N] [--only RUN] [--postgres]
#   (defaults 10 seconds a run, 5000 codes; --only records measures the play
#   records alone, or static, pages, pictures, gallery; the pool as scripts/serve sets
#   it: KORVALO_WORKERS, default one per core, KORVALO_QUEUE, default 256;
#   --postgres keeps the database in a PostgreSQL cluster of its own, made in
#   the run's temporary folder with the server's defaults, fsync and
#   synchronous commits on, instead of a SQLite file; KORVALO_POSTGRES_OPTIONS
#   adds server options, such as "-c commit_delay=1000")
# Needs the build (build/bin/korvz, build/bin/korvalo-level, and the
# configuration) and the web build (bash scripts/build-web).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=10
code_count=5000
only=""
postgres=""
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds=$2; shift 2 ;;
    --codes) code_count=$2; shift 2 ;;
    --only) only=$2; shift 2 ;;
    --postgres) postgres=yes; shift ;;
    *) echo "Usage: bash bench/server_load.sh [--seconds N] [--codes N] [--only RUN] [--postgres]" >&2; exit 2 ;;
  esac
done
for needed in build/bin/korvz build/bin/korvalo-level build/server/lighttpd.conf build-wasm/site/eng/index.html; do
  if [ ! -e "$needed" ]; then
    echo "server_load: $needed is missing; build first (bash scripts/build, bash scripts/build-web)" >&2
    exit 1
  fi
done
command -v wrk >/dev/null || { echo "server_load: wrk is missing (bash scripts/setup --web)" >&2; exit 1; }

work=$(mktemp -d)
server=""
cluster=""
stop() {
  if [ -n "$server" ]; then kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; fi
  if [ -n "$cluster" ]; then as_postgres /usr/lib/postgresql/15/bin/pg_ctl -D "$cluster" -m immediate -w stop >/dev/null || true; fi
  rm -rf "$work"
}
trap stop EXIT

# PostgreSQL's tools refuse root: as root they run as the postgres user.
as_postgres() {
  if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
database="$work/korvalo.sqlite"
# One statement's answer, on either database, as plain text.
query() {
  if [ -n "$postgres" ]; then as_postgres psql -At -h "$work/pg" -U postgres -d korvalo -c "$1"; else sqlite3 "$database" "$1"; fi
}
if [ -n "$postgres" ]; then
  mkdir -p "$work/pg"
  [ "$(id -u)" = 0 ] && chown postgres "$work" "$work/pg"
  cluster="$work/pg/data"
  as_postgres /usr/lib/postgresql/15/bin/initdb -D "$cluster" -A trust -U postgres >/dev/null
  as_postgres /usr/lib/postgresql/15/bin/pg_ctl -D "$cluster" -l "$work/pg/log" -w \
    -o "-c listen_addresses='' -k $work/pg ${KORVALO_POSTGRES_OPTIONS:-}" start >/dev/null
  as_postgres psql -q -h "$work/pg" -U postgres -d postgres -c 'CREATE DATABASE korvalo'
  database="postgresql://postgres@/korvalo?host=$work/pg"
fi

# Random 7 x 7 levels (random walls, balls and holes on distinct squares), in
# the form the writer writes (korvalo-level canon gives each level's written
# code), each once.
python3 - "$code_count" >"$work/random.txt" <<'EOF'
import random
import sys
count = int(sys.argv[1])
generator = random.Random(7)
for _ in range(count * 2):
    squares = generator.sample(range(49), 3) + generator.sample(range(49), 3)
    pieces = "".join(f"{square // 7}{square % 7}" for square in squares)
    print("7" + pieces + "".join(generator.choice("0123456789abcdef") for _ in range(24)))
EOF
build/bin/korvalo-level canon "$work/random.txt" | cut -f2 | awk '!seen[$0]++' >"$work/written.txt"
head -n "$code_count" "$work/written.txt" >"$work/codes.txt"
sed 's|^|/cgi-bin/korvz?s=|' "$work/codes.txt" >"$work/pages.txt"
sed 's|^|/cgi-bin/korvz?s=|; s|$|\&png=1|' "$work/codes.txt" >"$work/pictures.txt"
echo "/eng/" >"$work/static.txt"

# Each of wrk's threads goes through its own part of the addresses in turn.
cat >"$work/addresses.lua" <<'EOF'
local threads = 0
function setup(thread)
  thread:set("number", threads)
  threads = threads + 1
end
function init(arguments)
  paths = {}
  for line in io.lines(os.getenv("KORVALO_ADDRESSES")) do paths[#paths + 1] = line end
  next_path = (number * 7919) % #paths
end
function request()
  next_path = next_path % #paths + 1
  return wrk.format("GET", paths[next_path])
end
EOF

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
mkdir -p "$work/run/compressed"  # the workers' sockets, and lighttpd's compressed files
KORVALO_SITE="$PWD/build-wasm/site" KORVALO_KORVZ="$PWD/build/bin/korvz" KORVALO_RUN="$work/run" \
  KORVALO_BIND=127.0.0.1 KORVALO_PORT="$port" KORVALO_WORKERS="${KORVALO_WORKERS:-$(nproc)}" \
  KORVALO_QUEUE="${KORVALO_QUEUE:-256}" KORVALO_DATABASE="$database" \
  KORVALO_PUBLISH_LIMIT=100000 KORVALO_RECORD_LIMIT=100000 /usr/sbin/lighttpd -D -f build/server/lighttpd.conf \
  >"$work/lighttpd.log" 2>&1 3>"$work/access.log" &
server=$!
for _ in $(seq 100); do
  curl -sf -o /dev/null "http://127.0.0.1:$port/eng/" && break
  sleep 0.1
done

# Publishes the first 2,000 codes (those with a solution are taken), and lists
# the gallery's pages in each order, following each page's link to the next.
python3 - "http://127.0.0.1:$port" "$work/codes.txt" >"$work/gallery.txt" <<'EOF'
import json
import re
import sys
import urllib.error
import urllib.request
site, codes = sys.argv[1], open(sys.argv[2]).read().split()[:2000]
for code in codes:
    body = json.dumps({"code": code, "title": "Level " + code[:8], "author": "Bench"}).encode()
    try:
        urllib.request.urlopen(urllib.request.Request(site + "/api/levels", data=body, method="POST"))
    except urllib.error.HTTPError:
        pass  # no solution
for order in ("newest", "longest", "grade"):
    address = "/gallery?order=" + order
    for _ in range(100):
        print(address)
        page = urllib.request.urlopen(site + address).read().decode()
        found = re.search(r'rel="next" href="([^"]+)"', page)
        if not found:
            break
        address = found.group(1).replace("&amp;", "&")
EOF

# Play records: each request a given-up first attempt of a random session at a
# published level (stored, counted and queued for its rating in one
# transaction; the workers' rating threads rate the queue in batches).
query 'SELECT code FROM levels' >"$work/records.txt"
cat >"$work/records.lua" <<'EOF'
local threads = 0
function setup(thread)
  thread:set("number", threads)
  threads = threads + 1
end
function init(arguments)
  codes = {}
  for line in io.lines(os.getenv("KORVALO_ADDRESSES")) do codes[#codes + 1] = line end
  math.randomseed(number * 7919 + 1)
  wrk.headers["Content-Type"] = "application/json"
end
function request()
  local session = string.format("%08x%08x%08x%08x", math.random(0, 0x7fffffff), math.random(0, 0x7fffffff),
    math.random(0, 0x7fffffff), math.random(0, 0x7fffffff))
  local body = '{"level":"' .. codes[math.random(#codes)] .. '","session":"' .. session ..
    '","solved":false,"moves":"N","undos":0,"hints":0,"restarts":0,"seconds":30,"version":"bench"}'
  return wrk.format("POST", "/api/attempts", nil, body)
end
EOF

# The resident memory of lighttpd and its workers, in KB.
server_memory() {
  local total=0 pid resident
  for pid in "$server" $(pgrep -P "$server" || true); do
    # A worker may end between the listing and the reading: it counts 0.
    resident=$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
    total=$((total + ${resident:-0}))
  done
  echo "$total"
}
echo 0 >"$work/peak"
watch_memory() {
  local peak=0 now
  while kill -0 "$server" 2>/dev/null; do
    now=$(server_memory)
    if [ "$now" -gt "$peak" ]; then peak=$now; echo "$peak" >"$work/peak"; fi
    sleep 0.2
  done
}
watch_memory &
watcher=$!

# One wrk run: prints "rate answered non-200 timeouts p50 p99 accepted" for the
# list of addresses (answered a second, and accepted in all, with a 2xx answer).
measure() {
  local list=$1 connections=$2 output
  local script="$work/addresses.lua"
  [ "$list" = records ] && script="$work/records.lua"
  output=$(KORVALO_ADDRESSES="$work/$list.txt" wrk --latency -t 2 -c "$connections" -d "${seconds}s" \
    -s "$script" "http://127.0.0.1:$port")
  python3 - "$output" <<'EOF'
import re
import sys
text = sys.argv[1]
total = int(re.search(r"(\d+) requests in", text).group(1))
other = re.search(r"Non-2xx or 3xx responses: (\d+)", text)
other = int(other.group(1)) if other else 0
timeouts = re.search(r"timeout (\d+)", text)
timeouts = int(timeouts.group(1)) if timeouts else 0
rate = float(re.search(r"Requests/sec:\s+([\d.]+)", text).group(1))
def latency(percent):
    value = re.search(rf"\s{percent}%\s+([\d.]+)(us|ms|s)", text)
    number, unit = float(value.group(1)), value.group(2)
    return number * {"us": 0.001, "ms": 1, "s": 1000}[unit]
print(f"{rate:.0f} {rate * (total - other) / total:.0f} {other} {timeouts} {latency(50):.1f} {latency(99):.1f} {total - other}")
EOF
}

printf "%-28s %10s %10s %8s %8s %9s %9s\n" "run" "requests/s" "200s/s" "not 200" "timeouts" "p50 ms" "p99 ms"
declare -A answered accepted
for run in "static 16" "pages 16" "pictures 16" "gallery 16" "records 16" "pages 256" "pictures 256"; do
  set -- $run
  if [ -n "$only" ] && [ "$1" != "$only" ]; then continue; fi
  read -r rate ok other timeouts p50 p99 all < <(measure "$1" "$2")
  answered[$1-$2]=$ok
  accepted[$1-$2]=$all
  printf "%-28s %10s %10s %8s %8s %9s %9s\n" "$1, $2 connections" "$rate" "$ok" "$other" "$timeouts" "$p50" "$p99"
done
kill "$watcher" 2>/dev/null || true
wait "$watcher" 2>/dev/null || true
# Every record answered 202 must be a row (there may be a few more rows: the
# requests still under way when wrk stops are stored but not counted), and
# the workers' rating threads must keep up: the first attempts still waiting
# for their rating when the run ends, and a second later.
if [ -z "$only" ] || [ "$only" = records ]; then
  waiting=$(query 'SELECT COUNT(*) FROM rating_queue')
  sleep 1
  rows=$(query 'SELECT COUNT(*) FROM attempts')
  echo "records answered 202: ${accepted[records-16]} (${answered[records-16]}/s for ${seconds}s); rows stored: $rows"
  echo "first attempts waiting for their rating: $waiting at the end, $(query 'SELECT COUNT(*) FROM rating_queue') a second later"
  if [ "$rows" -lt "${accepted[records-16]}" ]; then
    echo "server_load: fewer rows than records answered 202" >&2
    exit 1
  fi
fi
[ -z "$only" ] || exit 0

python3 - "${answered[static-16]}" "${answered[pages-16]}" "${answered[pictures-16]}" \
  "${answered[pages-256]}" "${answered[pictures-256]}" "$(cat "$work/peak")" "$(wc -l <"$work/codes.txt")" \
  "${answered[gallery-16]}" "$(wc -l <"$work/gallery.txt")" \
  "$(query 'SELECT COUNT(*) FROM levels' 2>/dev/null || echo 0)" <<'EOF'
import sys
static, pages, pictures, pages_many, pictures_many, peak, codes, gallery, gallery_pages, published = (
    float(value) for value in sys.argv[1:])
print(f"\n{codes:.0f} distinct codes, {published:.0f} of them published, {gallery_pages:.0f} gallery pages")
print(f"pages / static file:     {pages / static:.3f}  (goal at least 0.1)")
print(f"gallery / static file:   {gallery / static:.3f}  (goal at least 0.1)")
print(f"pictures / static file:  {pictures / static:.3f}  (goal at least 0.033)")
print(f"pages at 256 / at 16:    {pages_many / pages:.2f}  (goal at least 0.5)")
print(f"pictures at 256 / at 16: {pictures_many / pictures:.2f}  (goal at least 0.5)")
print(f"largest memory of the server: {peak / 1024:.0f} MB  (goal under 256 MB)")
EOF
