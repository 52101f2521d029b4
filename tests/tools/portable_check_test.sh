#!/usr/bin/env bash
# tools/check-portable.sh on small source trees: it names every POSIX header
# and call in the program's sources, and passes over the designated platform
# file, the tests, comments and Qt's own functions of the same names.
set -euo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/src/app" "$tree/src/core" "$tree/src/books" "$tree/tools" "$tree/tests/books"

cat > "$tree/src/books/clean.cpp" <<'CPP'
#include <QFile>
#include <QThread>
// fsync() is done by the platform file; fork( is never used.
void f(QFile &file, QProcess &p) { file.flush(); QThread::sleep(1); p.kill(); signalsBlocked(); }
CPP
cat > "$tree/src/core/filesync.cpp" <<'CPP'
#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <unistd.h>
bool sync(int fd) { return ::fsync(fd) == 0; }
#endif
CPP
cat > "$tree/tests/books/tst_x.cpp" <<'CPP'
#include <sys/resource.h>
void g() { setrlimit(RLIMIT_FSIZE, nullptr); }
CPP

out=$("$check" "$tree") || { echo "clean tree failed: $out"; exit 1; }

cat > "$tree/src/books/bad.cpp" <<'CPP'
#include <QFile>
#  include <sys/stat.h>
int h(int fd) { return ::fsync(fd) + getuid(); }
CPP
cat > "$tree/tools/bad.cpp" <<'CPP'
int main() { if (fork() == 0) return 1; return 0; }
CPP
status=0
out=$("$check" "$tree") || status=$?
[ "$status" -ne 0 ] || { echo "violations passed: $out"; exit 1; }
for line in "src/books/bad.cpp:2:" "src/books/bad.cpp:3:" "tools/bad.cpp:1:"; do
  grep -qF "Not portable to Windows: $line" <<<"$out" || { echo "missing $line in: $out"; exit 1; }
done
if grep -qE "Not portable.*(filesync|tst_x|clean)" <<<"$out"; then
  echo "allowed files reported: $out"
  exit 1
fi
echo "check-portable finds what it must and only that"
