# Sourced by scripts/test.sh: makes sure a CUPS scheduler answers while the tests run, with the
# CUPS-PDF queue "ReportPdf" the printer tests print to. A scheduler is started only when none
# answers, and only the one started here is stopped (by its pid, when the sourcing shell exits).
# The printer tests create and delete their own raw queues.

cups_ci_started_pid=""

cups_ci_answers() { lpstat -r 2>/dev/null | grep -q "scheduler is running"; }

cups_ci_stop() {
    if [ -n "$cups_ci_started_pid" ]; then
        lpadmin -x ReportPdf 2>/dev/null || true
        kill "$cups_ci_started_pid" 2>/dev/null || true
        wait "$cups_ci_started_pid" 2>/dev/null || true
        cups_ci_started_pid=""
    fi
}

cups_ci_start() {
    if ! cups_ci_answers; then
        if [ ! -x /usr/sbin/cupsd ]; then
            echo "cups-ci: /usr/sbin/cupsd is missing; printer tests will skip" >&2
            return 0
        fi
        mkdir -p /run/cups
        /usr/sbin/cupsd -f &
        cups_ci_started_pid=$!
        trap cups_ci_stop EXIT
        for _ in $(seq 1 50); do
            cups_ci_answers && break
            sleep 0.2
        done
        if ! cups_ci_answers; then
            echo "cups-ci: the scheduler did not answer within 10 s" >&2
            cups_ci_stop
            return 1
        fi
    fi
    if ! lpstat -p ReportPdf >/dev/null 2>&1; then
        lpadmin -p ReportPdf -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
    fi
}

cups_ci_start
# The printer tests must run, not skip.
export KOLV_REQUIRE_CUPS=1
