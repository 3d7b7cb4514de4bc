#!/usr/bin/env bash
# A throw-away PostgreSQL cluster for one test run.
#
#   cluster.sh start STATE_FILE   makes a cluster in a new temporary folder, starts it on a Unix
#                                 socket in that folder (no TCP port) and writes to STATE_FILE
#                                 the administrator's connection string, or "SKIP <reason>"
#                                 when the server cannot be made or started (never fails).
#   cluster.sh stop STATE_FILE    stops that cluster and removes its folder.
#
# The server runs with fsync=off (the tests need no durability) unless QZ_PG_FSYNC=on, which
# the benchmarks set so the server flushes its commits as SQLite does.
#
# The server refuses to run as root, so as root the cluster belongs to the postgres system
# user. Every connection needs a password (scram-sha-256): the administrator's is in a
# password file of the folder, named by the connection string (passfile=...), so the tests
# also go through the password lookup the programs use.
set -uo pipefail

action=${1:-}
state=${2:-}
[ -n "$action" ] && [ -n "$state" ] || { echo "usage: $0 start|stop STATE_FILE" >&2; exit 2; }

bindir=""
for v in 15 16 17; do
    if [ -x "/usr/lib/postgresql/$v/bin/initdb" ]; then bindir="/usr/lib/postgresql/$v/bin"; break; fi
done

as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

skip() {
    echo "SKIP $*" > "$state"
    echo "PostgreSQL cluster not started: $*" >&2
    exit 0
}

case "$action" in
start)
    mkdir -p "$(dirname "$state")"
    rm -f "$state"
    fsync=${QZ_PG_FSYNC:-off}
    case "$fsync" in on|off) ;; *) skip "QZ_PG_FSYNC must be on or off, not '$fsync'" ;; esac
    [ -n "$bindir" ] || skip "the PostgreSQL server programs (initdb, pg_ctl) are not installed"
    if [ "$(id -u)" -eq 0 ] && ! id postgres >/dev/null 2>&1; then
        skip "running as root and there is no postgres system user to own the cluster"
    fi
    dir=$(mktemp -d /tmp/qz-pg.XXXXXX) || skip "cannot make a temporary folder"
    chmod 755 "$dir"
    [ "$(id -u)" -eq 0 ] && chown postgres: "$dir"
    password="qz-$(head -c 12 /dev/urandom | od -An -tx1 | tr -d ' \n')"
    printf '%s\n' "$password" > "$dir/pwfile"
    [ "$(id -u)" -eq 0 ] && chown postgres: "$dir/pwfile"
    chmod 600 "$dir/pwfile"
    if ! as_owner "$bindir/initdb" -D "$dir/data" -U postgres --pwfile="$dir/pwfile" \
            --auth=scram-sha-256 --encoding=UTF8 --locale=C >"$dir/initdb.log" 2>&1; then
        skip "initdb failed: $(tail -n 3 "$dir/initdb.log" | tr '\n' ' ')"
    fi
    # The port only names the socket, which lives in a folder of its own: any number will do.
    port=$(( 20000 + RANDOM % 20000 ))
    if ! as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
            -o "-c listen_addresses='' -c unix_socket_directories='$dir' -p $port -c fsync=$fsync -c max_connections=60" \
            start >/dev/null 2>&1; then
        skip "the server did not start: $(tail -n 3 "$dir/server.log" 2>/dev/null | tr '\n' ' ')"
    fi
    # The password file of libpq: host:port:database:user:password.
    printf '%s:%s:*:*:%s\n' "$dir" "$port" "$password" > "$dir/pgpass"
    chmod 600 "$dir/pgpass"
    echo "host=$dir port=$port user=postgres dbname=postgres passfile=$dir/pgpass connect_timeout=10" > "$state"
    echo "PostgreSQL cluster in $dir, port $port"
    ;;
stop)
    [ -f "$state" ] || exit 0
    conninfo=$(cat "$state")
    rm -f "$state"
    case "$conninfo" in SKIP*) exit 0 ;; esac
    dir=$(sed -n 's/^host=\([^ ]*\) .*/\1/p' <<<"$conninfo")
    case "$dir" in /tmp/qz-pg.*) ;; *) echo "not a test cluster: $dir" >&2; exit 1 ;; esac
    [ -n "$bindir" ] && as_owner "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1
    rm -rf "$dir"
    ;;
*)
    echo "usage: $0 start|stop STATE_FILE" >&2
    exit 2
    ;;
esac
