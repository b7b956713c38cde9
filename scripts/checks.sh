# Sourced by the release tests: check counts what passed and failed and names each failure.
passed=0
failed=0
check() {  # description, then the command that must succeed
  local what=$1
  shift
  if "$@" >/dev/null 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what"
  fi
}
