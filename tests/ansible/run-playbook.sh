#!/usr/bin/env bash
# Runs contrib/ansible/provision.yml on this machine (connection local) against
# the built-in simulated device: a check that finds the device differing fails
# the host, and a provisioning run programs the one relay that differs.
# Usage: run-playbook.sh TAVIKCTL PLAYBOOK. Exit 77 (skipped) without ansible-playbook.
set -euo pipefail
tavikctl=$(realpath "$1")
playbook=$2
if ! command -v ansible-playbook >/dev/null; then
    echo "ansible-playbook is not installed (scripts/install-deps.sh installs ansible-core)"
    exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The simulated device keeps its relays under XDG_DATA_HOME; Ansible its own files in ANSIBLE_HOME.
export XDG_DATA_HOME=$work/data ANSIBLE_HOME=$work/ansible ANSIBLE_LOCAL_TEMP=$work/tmp \
    ANSIBLE_REMOTE_TEMP=$work/tmp ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_PIPELINING=1 ANSIBLE_CONFIG=$work/ansible.cfg

"$tavikctl" new -o "$work/cleared.csv"
# Relay 4 made Toggle, on OR of inputs 1 and 12.
sed 's/^, Relay 4, 0, 0, BIN 000000000000/, Relay 4, 1, 0, BIN 100000000001/' "$work/cleared.csv" >"$work/wanted.csv"
touch "$work/ansible.cfg"
"$tavikctl" program -i "$work/cleared.csv" --changed --simulate >/dev/null 2>&1

cat >"$work/inventory.yml" <<INVENTORY
tavik:
  hosts:
    localhost:
      ansible_connection: local
      ansible_python_interpreter: $(command -v python3)
      tavik_host_config: $work/wanted.csv
      tavik_device: ["--simulate"]
      tavikctl: $tavikctl
INVENTORY

run() {
    ansible-playbook -i "$work/inventory.yml" "$playbook" "$@" >"$work/out" 2>&1 && status=0 || status=$?
    cat "$work/out"
}
expect() {
    if ! grep -Eq "$1" "$work/out"; then
        echo "FAILED: expected /$1/ in the playbook's output"
        exit 1
    fi
}

run --tags verify
[ "$status" -ne 0 ] || { echo "FAILED: the check passed on a device that differs"; exit 1; }
expect 'in relays 4: Relay 4: relay mode: file Toggle; device Momentary; Relay 4: input map: file 1, 12; device none"'
expect 'localhost +: ok=1 +changed=0 +unreachable=0 +failed=1 +skipped=1'

run
[ "$status" -eq 0 ] || { echo "FAILED: provisioning ended with $status"; exit 1; }
expect 'localhost +: ok=2 +changed=1 +unreachable=0 +failed=0 +skipped=2'
echo "The playbook provisioned the simulated device and checked it."
