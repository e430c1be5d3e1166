# What the benchmarks share (sourced by bench-install.sh and bench-compression.sh): NSIS when
# missing, our project and the NSIS script for a generated product, and one measured run of a
# setup under Wine with its peak memory.

# Installs Debian's nsis when makensis is missing.
bench_need_nsis() {
    command -v makensis >/dev/null && return
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends nsis
}

# Writes $1 (project.xml) installing the folder "product" beside it as product $2 into
# C:\$2\Vesk; with $3 = pages, the welcome, destination and progress pages are shown.
bench_write_project() {
    local file="$1" name="$2" pages=""
    if [ "${3:-}" = pages ]; then
        pages='<Task ID="2006" Type="ShowDialogBox" IsExec="0">
</Task>
<Task ID="2007" Type="ShowDialogBox" IsExec="0">
</Task>
<Task ID="2010" Type="ShowDialogBox" IsExec="0">
</Task>'
    fi
    cat >"$file" <<EOF
<?xml version="1.0" encoding="GB2312"?>
<InstallProject>
<Version>VeskInstall5.0</Version>
<Task ID="2401" Type="DataSetting" IsExec="0">
  <SubTask ID="10001" Type="GetAllVar">
    <ProjectName>$name</ProjectName>
    <InstallPath>C:\\$name\\Vesk</InstallPath>
    <ProductVersion>1.0</ProductVersion>
  </SubTask>
</Task>
$pages
<Task ID="2402" Type="DataSetting" IsExec="0">
  <SubTask ID="10001" Type="GetAllVar">
    <PathDesc>[InstallDir]</PathDesc>
    <PathValue>product</PathValue>
  </SubTask>
</Task>
<Task ID="2408" Type="DataSetting" IsExec="0">
  <SubTask ID="10001" Type="GetValue">
    <File>*.zip</File>
    <File>*.png</File>
    <File>*.jpg</File>
    <File>*.gz</File>
  </SubTask>
</Task>
</InstallProject>
EOF
}

# Writes the NSIS script $1 installing the folder "product" beside it as product $2 into
# C:\$2\Nsis, building the installer $3, with the compressor line $4 (NSIS's default when
# empty).
bench_write_nsis() {
    cat >"$1" <<EOF
Unicode true
${4:-}
Name "$2"
OutFile "$3"
InstallDir "C:\\$2\\Nsis"
RequestExecutionLevel user
Page directory
Page instfiles
Section
  SetOutPath "\$INSTDIR"
  File /r "product\\*"
SectionEnd
EOF
}

# The highest peak resident memory (KB, /proc's VmHWM) of any process named $1, watched until
# the file $2 appears; written to $3. Wine runs each Windows process as a host process of the
# program's name, so both installers are measured the same way, Wine's own libraries included.
bench_watch_memory() {
    local name="$1" stop="$2" out="$3" peak=0 hwm pid=""
    set +e +o pipefail  # no process yet is no error
    while [ ! -e "$stop" ]; do
        # VmHWM only grows, so a sample now and then finds the peak; few samples, little load.
        # The newest process of the name; one that has ended (a zombie of an earlier run whose
        # parent has not reaped it) has no VmHWM and is let go.
        [ -n "$pid" ] && [ -e "/proc/$pid" ] || pid="$(pgrep -n -x "$name")"
        if [ -n "$pid" ]; then
            hwm=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)
            if [ -z "$hwm" ]; then
                pid=""
            elif [ "$hwm" -gt "$peak" ]; then
                peak=$hwm
            fi
        fi
        sleep 0.05
    done
    echo "$peak" >"$out"
}

# "<ms> <peak KB>" of one run of the program named $2 by the command $3...: a command printing
# "... worked: N ms". Scratch files go into the folder $1; the command's output is added to
# $1/runs.log.
bench_measured_run() {
    local scratch="$1" name="$2" out
    shift 2
    rm -f "$scratch/stop" "$scratch/peak"
    bench_watch_memory "$name" "$scratch/stop" "$scratch/peak" &
    out="$("$@" | tr -d '\r')"
    touch "$scratch/stop"
    wait
    printf '%s\n' "$out" >>"$scratch/runs.log"
    printf '%s %s\n' "$(sed -n 's/.* worked: \([0-9]*\) ms.*/\1/p' <<<"$out")" "$(cat "$scratch/peak")"
}

# "<system calls> <recvmsg calls>" of the command $2... run under `strace -f -c`, its summary in
# the file $1. The Wine server runs on (wineserver -p): only the setup's own processes count.
bench_syscalls() {
    local summary="$1"
    shift
    strace -f -c -o "$summary" "$@" >/dev/null 2>&1 || true
    awk '$NF == "total" { total = $4 } $NF == "recvmsg" { handles = $4 }
         END { printf "%d %d\n", total, handles }' "$summary"
}

# Prints the system calls per installed file of ours and NSIS's: $1 files, $2 and $3 the two
# "<calls> <recvmsg>" pairs of bench_syscalls.
bench_print_syscalls() {
    local files="$1" ours nsis
    read -r -a ours <<<"$2"
    read -r -a nsis <<<"$3"
    echo "system calls of a /S install (strace -f -c), per installed file:"
    echo "  ours: ${ours[0]} calls, ${ours[1]} handles received (recvmsg);" \
         "$(awk "BEGIN { printf \"%.1f\", ${ours[0]} / $files }") calls," \
         "$(awk "BEGIN { printf \"%.2f\", ${ours[1]} / $files }") handles per file"
    echo "  NSIS: ${nsis[0]} calls, ${nsis[1]} handles received (recvmsg);" \
         "$(awk "BEGIN { printf \"%.1f\", ${nsis[0]} / $files }") calls," \
         "$(awk "BEGIN { printf \"%.2f\", ${nsis[1]} / $files }") handles per file"
    echo "  ratio (ours / NSIS): $(awk "BEGIN { printf \"%.2f\", ${ours[0]} / ${nsis[0]} }")"
}
