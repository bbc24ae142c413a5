# Waiting in the shell checks for what another process brings about: a poll whose limit only
# bounds a hang, never a bare sleep that hopes. Sourced by the scripts that need it.

# wait_until SECONDS COMMAND...: polls every 0.1 s until the command succeeds; false when it
# did not within about SECONDS (longer on a loaded machine, where each try takes longer).
wait_until() {
  local limit=$(( $1 * 10 )); shift
  local i
  for (( i = 0; i < limit; i++ )); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}
