#!/usr/bin/env bash
# Downloads one file from nginx on loopback with `qvbtool fetch` (4 parts), `curl -o` (one
# stream), `curl --parallel` (the same 4 ranges in one libcurl thread) and `aria2c -x4 -s4`, one
# after the other in the same run, and prints wall time, CPU time (user + system) and peak memory
# of each, with qvbtool's ratios to the others. Every download is checked against the source MD5.
#
#   bash bench/fetch_bench.sh [SIZE_MIB]        (default 1024; QVBTOOL=path skips the build)
#
# The tools take turns for REPEAT rounds (default 3) and each figure is the median of its
# rounds, so that other load on the machine weighs less.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
size_mib=${1:-1024}
repeat=${REPEAT:-3}

if [ -z "${QVBTOOL:-}" ]; then
  build="$root/build/bench"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVB_TESTS=OFF >/dev/null
  cmake --build "$build" --target qvbtool -j "${JOBS:-2}" >/dev/null
  QVBTOOL="$build/tools/qvbtool/qvbtool"
fi
for tool in nginx curl aria2c /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "fetch_bench: $tool is missing (run scripts/setup.sh)" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/qvb-bench-XXXXXX")
nginx_pid=""
cleanup() {
  [ -n "$nginx_pid" ] && kill -QUIT "$nginx_pid" 2>/dev/null && wait "$nginx_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/www" "$work/out"

echo "fetch_bench: making a ${size_mib} MiB file" >&2
head -c "$((size_mib * 1024 * 1024))" /dev/urandom >"$work/www/big.bin"
source_md5=$(md5sum "$work/www/big.bin" | cut -d' ' -f1)
size=$(stat -c %s "$work/www/big.bin")

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
user_line=""
[ "$(id -u)" -eq 0 ] && user_line="user root root;"
cat >"$work/nginx.conf" <<CONF
$user_line
worker_processes 2;
error_log $work/error.log warn;
pid $work/nginx.pid;
events { worker_connections 256; }
http {
  access_log off;
  client_body_temp_path $work/body; proxy_temp_path $work/proxy; fastcgi_temp_path $work/fastcgi;
  uwsgi_temp_path $work/uwsgi; scgi_temp_path $work/scgi;
  sendfile on;
  default_type application/octet-stream;
  server { listen 127.0.0.1:$port; root $work/www; }
}
CONF
nginx -p "$work" -c "$work/nginx.conf" -g 'daemon off;' 2>"$work/nginx.stderr" &
nginx_pid=$!
for _ in $(seq 100); do
  curl -s -o /dev/null "http://127.0.0.1:$port/" 2>/dev/null && break
  sleep 0.05
done
url="http://127.0.0.1:$port/big.bin"

# The same 4 ranges as the engine's layout, for curl --parallel.
part=$((size / 4))
ranges=()
for i in 0 1 2 3; do
  start=$((i * (part + 1)))
  end=$((start + part))
  [ "$i" -eq 3 ] && end=$((size - 1))
  [ "$i" -gt 0 ] && ranges+=(--next)
  ranges+=(-s -r "$start-$end" -o "$work/out/p$i" "$url")
done

results=()
run() {  # name, output file (checked), command... ; appends "name wall cpu peakMiB" to results
  local name=$1 output=$2
  shift 2
  rm -rf "$work/out" && mkdir -p "$work/out"
  sync
  /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" "$@" >"$work/run.log" 2>&1 || {
    echo "fetch_bench: $name failed:" >&2
    tail -5 "$work/run.log" >&2
    exit 1
  }
  if [ "$output" = parts ]; then
    cat "$work/out"/p0 "$work/out"/p1 "$work/out"/p2 "$work/out"/p3 >"$work/out/joined"
    output="$work/out/joined"
  fi
  local md5
  md5=$(md5sum "$output" | cut -d' ' -f1)
  [ "$md5" = "$source_md5" ] || { echo "fetch_bench: $name produced a wrong file" >&2; exit 1; }
  read -r wall user sys rss <"$work/time.txt"
  results+=("$name $wall $(awk "BEGIN { print $user + $sys }") $((rss / 1024))")
}

echo "fetch_bench: downloading, $repeat rounds" >&2
for round in $(seq "$repeat"); do
  run "qvbtool-fetch-4" "$work/out/f.bin" "$QVBTOOL" fetch "$url" "$work/out/f.bin" --parts 4
  run "qvbtool-fetch-4-nostate" "$work/out/f.bin" "$QVBTOOL" fetch "$url" "$work/out/f.bin" --parts 4 --no-state
  run "curl-o" "$work/out/c.bin" curl -s -o "$work/out/c.bin" "$url"
  run "curl-parallel-4" parts curl --parallel --parallel-max 4 "${ranges[@]}"
  run "aria2c-x4-s4" "$work/out/a.bin" aria2c -q -x4 -s4 --allow-overwrite=true -d "$work/out" -o a.bin "$url"
done

# name -> "median-wall median-cpu max-peak"
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
summary() {
  local rows
  rows=$(printf '%s\n' "${results[@]}" | awk -v name="$1" '$1 == name')
  echo "$(cut -d' ' -f2 <<<"$rows" | median) $(cut -d' ' -f3 <<<"$rows" | median) $(cut -d' ' -f4 <<<"$rows" | sort -n | tail -1)"
}
tools=(qvbtool-fetch-4 qvbtool-fetch-4-nostate curl-o curl-parallel-4 aria2c-x4-s4)
printf '\n%s MiB from nginx on 127.0.0.1, median of %s rounds\n' "$size_mib" "$repeat"
printf '%-26s %9s %9s %10s\n' tool "wall s" "cpu s" "peak MiB"
for name in "${tools[@]}"; do
  read -r wall cpu rss <<<"$(summary "$name")"
  printf '%-26s %9.2f %9.2f %10d\n' "$name" "$wall" "$cpu" "$rss"
done
printf '\nratios (wall, cpu):\n'
for mine in qvbtool-fetch-4 qvbtool-fetch-4-nostate; do
  read -r qw qc _ <<<"$(summary "$mine")"
  for other in curl-o curl-parallel-4 aria2c-x4-s4; do
    read -r ow oc _ <<<"$(summary "$other")"
    printf '  %-24s to %-16s wall %5.2fx  cpu %5.2fx\n' "$mine" "$other" \
      "$(awk "BEGIN { print $qw / $ow }")" "$(awk "BEGIN { print $qc / $oc }")"
  done
done
