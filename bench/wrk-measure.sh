# Shared by the service's benchmarks (sourced): wrk runs and what they print.

# wrk_measure CONNECTIONS SECONDS [WRK ARGUMENTS...]
# Prints requests per second, p50 and p99 in ms, and the count of non-2xx answers.
wrk_measure() {
    local connections=$1 seconds=$2 output
    shift 2
    output=$(wrk -t2 -c"$connections" -d"${seconds}s" --latency "$@")
    awk '
        function ms(v) { if (v ~ /us$/) return v / 1000; if (v ~ /ms$/) return v + 0; if (v ~ /s$/) return v * 1000; return v }
        /Requests\/sec:/ { rate = $2 }
        $1 == "50%" { p50 = ms($2) }
        $1 == "99%" { p99 = ms($2) }
        /Non-2xx/ { bad = $NF }
        END { printf "%.0f %.2f %.2f %d\n", rate, p50, p99, bad }' <<<"$output"
}

# wrk_post_script FILE BODY: a wrk script that posts the body (CR LF line ends).
wrk_post_script() {
    local escaped
    escaped=$(printf '%s' "$2" | sed 's/\\/\\\\/g; s/"/\\"/g' | awk 'BEGIN { ORS = "\\r\\n" } { sub(/\r$/, ""); print }')
    printf 'wrk.method = "POST"\nwrk.body = "%s"\n' "$escaped" >"$1"
}
