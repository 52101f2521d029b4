#!/usr/bin/env bash
# Fails when the program's own sources use POSIX headers or calls, which do
# not exist on Windows. Qt has the portable way for files, paths, processes
# and the shell. The one file allowed to reach the platform is
# src/core/filesync.cpp, whose calls sit behind #ifdef Q_OS_WIN / #else.
# The tests and benchmarks may use POSIX to make files fail; they are not
# built on Windows.
#   tools/check-portable.sh [source root]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"
allowed="src/core/filesync.cpp"

headers='unistd\.h|sys/[a-z_/]+\.h|fcntl\.h|signal\.h|csignal|pthread\.h|dlfcn\.h|pwd\.h|grp\.h|termios\.h|dirent\.h|poll\.h|spawn\.h|syslog\.h|libgen\.h|fnmatch\.h|glob\.h|semaphore\.h|netinet/[a-z_]+\.h|arpa/[a-z_]+\.h|netdb\.h'
calls='fork|vfork|execl|execlp|execle|execv|execvp|execve|waitpid|getuid|geteuid|getgid|getegid|setuid|setgid|getpwuid|getpwnam|setrlimit|getrlimit|fsync|fdatasync|mkfifo|pipe|dup2|kill|sigaction|signal|pthread_[a-z_]+|mmap|munmap|symlink|readlink|realpath|usleep|sleep|ioctl|umask|chown|sysconf|posix_[a-z_]+|dlopen|dlsym'

# The files the program and its tools are built from.
mapfile -t files < <(find src tools -type f \( -name '*.cpp' -o -name '*.h' \) | sort)

found=0
for f in "${files[@]}"; do
  [ "$f" = "$allowed" ] && continue
  # Line comments are not code.
  hits=$(sed 's://.*$::' "$f" | grep -nE \
    -e "^[[:space:]]*#[[:space:]]*include[[:space:]]*<($headers)>" \
    -e "(^|[^A-Za-z0-9_.>:])(::)?($calls)[[:space:]]*\(" || true)
  if [ -n "$hits" ]; then
    while IFS= read -r hit; do
      echo "Not portable to Windows: $f:${hit%%:*}: ${hit#*:}"
    done <<<"$hits"
    found=1
  fi
done
if [ "$found" -ne 0 ]; then
  echo "POSIX headers or calls found outside $allowed: use Qt instead (see docs/BUILDING.md)."
  exit 1
fi
echo "No POSIX headers or calls in src/ and tools/ outside $allowed"
