# Sourced by the test scripts: frees the JACK server registry of servers that died without unregistering.
#
# JACK keeps at most eight server names in a shared-memory registry (/dev/shm/jack-shm-registry). A server
# killed hard (a test run interrupted, a machine's processes ended) leaves its entry behind, and JACK reclaims
# such an entry only when a server of the same name starts again. Once eight dead names have piled up, no new
# server can start ("Too many servers already active"). For each registered name whose server process is gone,
# start a server of that name (which takes the stale entry over) and stop it cleanly (which releases it).
nupo_reclaim_dead_jack_servers() {
  local registry=/dev/shm/jack-shm-registry
  [ -r "$registry" ] || return 0
  local name pid
  while read -r name; do
    [ -n "$name" ] || continue
    if pgrep -f -- "jackd -n $name " >/dev/null 2>&1; then
      continue
    fi
    jackd -n "$name" --no-realtime -d dummy -r 48000 -p 1024 >/dev/null 2>&1 &
    pid=$!
    jack_wait -s "$name" -w -t 5 >/dev/null 2>&1 || true
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done < <(strings "$registry" | sed -n 's/^jack-[0-9]*:\(.*\):$/\1/p' | sort -u)
}
