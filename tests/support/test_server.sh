#!/bin/sh
# Starts or stops the PostgreSQL server of the tests: a cluster of its own in FOLDER, reached
# through a Unix socket in that folder only. Run as root (as CI does), the server runs as the
# user postgres, which owns the folder.
#   test_server.sh start FOLDER | stop FOLDER
set -eu
action=$1
folder=$2

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -n "$bin" ] || bin=$(dirname "$(command -v pg_ctl || echo /nonexistent/pg_ctl)")
if [ ! -x "$bin/pg_ctl" ]; then
  echo "test_server.sh: PostgreSQL is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi

as_server() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

case $action in
start)
  if [ -f "$folder/data/postmaster.pid" ]; then
    as_server "$bin/pg_ctl" -D "$folder/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$folder"
  mkdir -p "$folder"
  if [ "$(id -u)" -eq 0 ]; then chown postgres "$folder"; fi
  as_server "$bin/initdb" -D "$folder/data" -U postgres -A trust -E UTF8 --locale=C --no-sync >"$folder/initdb.log"
  as_server "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w \
    -o "-k $folder -c listen_addresses= -c fsync=off -c synchronous_commit=off -c full_page_writes=off" start >/dev/null
  ;;
stop)
  if [ -f "$folder/data/postmaster.pid" ]; then
    as_server "$bin/pg_ctl" -D "$folder/data" -m fast -w stop >/dev/null
  fi
  rm -rf "$folder"
  ;;
*)
  echo "usage: test_server.sh start|stop FOLDER" >&2
  exit 2
  ;;
esac
