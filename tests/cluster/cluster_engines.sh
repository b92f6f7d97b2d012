#!/usr/bin/env bash
# cluster_engines.sh parallel|slurm TREVANTO_CLI MEDIA_FOLDER
# Three shards of a small archive run by a real engine; the result must be the
# folder one local batch makes (files byte for byte, manifest records but
# their times). Exit 77 (skipped) with the reason when the engine's pieces
# are missing or do not start here; a run that starts and differs fails.
set -uo pipefail
engine=$1 cli=$2 media=$3
work=$(mktemp -d /tmp/trevanto-cluster.XXXXXX)
pidfiles=()
cleanup() {
  local pid
  for file in "${pidfiles[@]}"; do
    [[ -s $file ]] || continue
    pid=$(cat "$file")
    kill "$pid" 2>/dev/null
    for _ in $(seq 40); do kill -0 "$pid" 2>/dev/null || break; sleep 0.25; done
  done
  rm -rf "$work"
}
trap cleanup EXIT
skip() { echo "SKIPPED ($engine): $*"; exit 77; }
fail() { echo "FAILED ($engine): $*"; exit 1; }
need() { for tool in "$@"; do command -v "$tool" >/dev/null || skip "$tool is not installed"; done; }
free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
# waits up to $1 seconds for the command after it to succeed
wait_for() {
  local seconds=$1
  shift
  for _ in $(seq $((seconds * 4))); do "$@" >/dev/null 2>&1 && return 0; sleep 0.25; done
  return 1
}

mkdir -p "$work/archive/day 2"
cp "$media/clip_mpeg1.mpg" "$work/archive/a.mpg"
cp "$media/clip_h264.mov" "$work/archive/day 2/b.mov"
cp "$media/clip_vp9.webm" "$work/archive/day 2/c.webm"
cp "$media/clip_mpeg4.avi" "$work/archive/d.avi"
echo "not a video" >"$work/archive/e.mp4"
options=(--save --csv --publish --quiet)
"$cli" batch "$work/archive" --out "$work/local" "${options[@]}"
[[ $? -eq 1 ]] || fail "the local batch should record one failure"
# the command each shard runs, before its --out and --shard
shard_command="'$cli' batch '$work/archive' ${options[*]}"
# 1 (a video failed) is no failure of the task
accept_failed_videos='|| [ $? -eq 1 ]'

case $engine in
parallel)
  need parallel ssh ssh-keygen /usr/sbin/sshd python3
  # sshd wants its privilege separation folder, which Debian makes at boot.
  [[ -d /run/sshd ]] || mkdir -p -m 755 /run/sshd 2>/dev/null || skip "cannot make /run/sshd"
  ssh-keygen -q -t ed25519 -N "" -f "$work/host_key" && ssh-keygen -q -t ed25519 -N "" -f "$work/key"
  cp "$work/key.pub" "$work/authorized_keys"
  port=$(free_port)
  cat >"$work/sshd_config" <<CONFIG
Port $port
ListenAddress 127.0.0.1
HostKey $work/host_key
AuthorizedKeysFile $work/authorized_keys
PasswordAuthentication no
KbdInteractiveAuthentication no
PermitRootLogin prohibit-password
StrictModes no
UsePAM no
PidFile $work/sshd.pid
CONFIG
  pidfiles+=("$work/sshd.pid")
  /usr/sbin/sshd -f "$work/sshd_config" -E "$work/sshd.log" || skip "sshd does not start: $(tail -1 "$work/sshd.log")"
  ssh="ssh -p $port -i $work/key -o StrictHostKeyChecking=no -o UserKnownHostsFile=/dev/null -o BatchMode=yes -o LogLevel=ERROR"
  wait_for 10 $ssh "$(id -un)@127.0.0.1" true || skip "no ssh login to 127.0.0.1: $(tail -1 "$work/sshd.log")"
  timeout 180 parallel --sshlogin "3/$ssh $(id -un)@127.0.0.1" \
    "$shard_command --out '$work/shard-{}' --shard {}/3 $accept_failed_videos" ::: 0 1 2 || fail "a shard failed"
  "$cli" batch --merge "$work"/shard-{0,1,2} --out "$work/result"
  [[ $? -le 1 ]] || fail "the merge failed"
  ;;
slurm)
  need munged mungekey slurmctld slurmd sbatch sinfo python3
  mkdir -p -m 700 "$work/munge" && mkdir -p "$work/slurm/state" "$work/slurm/spool"
  mungekey -c -k "$work/munge/key" || skip "mungekey cannot make a key"
  pidfiles+=("$work/munge/pid")
  munged --force --key-file="$work/munge/key" --socket="$work/munge/socket" \
    --pid-file="$work/munge/pid" --log-file="$work/munge/log" --seed-file="$work/munge/seed" ||
    skip "munged does not start: $(tail -1 "$work/munge/log")"
  host=$(hostname -s)
  export SLURM_CONF=$work/slurm/slurm.conf
  cat >"$SLURM_CONF" <<CONFIG
ClusterName=trevanto
SlurmctldHost=$host
SlurmctldPort=$(free_port)
SlurmdPort=$(free_port)
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$work/munge/socket
SlurmUser=$(id -un)
SlurmdUser=$(id -un)
StateSaveLocation=$work/slurm/state
SlurmdSpoolDir=$work/slurm/spool
SlurmctldPidFile=$work/slurm/slurmctld.pid
SlurmdPidFile=$work/slurm/slurmd.pid
SlurmctldLogFile=$work/slurm/slurmctld.log
SlurmdLogFile=$work/slurm/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
MpiDefault=none
ReturnToService=2
NodeName=$host CPUs=$(nproc) State=UNKNOWN
PartitionName=batch Nodes=ALL Default=YES MaxTime=INFINITE State=UP
CONFIG
  pidfiles+=("$work/slurm/slurmctld.pid" "$work/slurm/slurmd.pid")
  slurmctld -i || skip "slurmctld does not start: $(tail -1 "$work/slurm/slurmctld.log")"
  slurmd || skip "slurmd does not start: $(tail -1 "$work/slurm/slurmd.log")"
  node_idle() { sinfo -h -o %T | grep -q idle; }
  wait_for 30 node_idle || skip "the Slurm node is not idle: $(tail -1 "$work/slurm/slurmd.log")"
  # The shards write into one shared folder, as a cluster file system would hold it.
  printf '#!/bin/bash\n%s --out %q --shard "$SLURM_ARRAY_TASK_ID/$SLURM_ARRAY_TASK_COUNT" %s\n' \
    "$shard_command" "$work/result" "$accept_failed_videos" >"$work/job.sh"
  timeout 180 sbatch --wait --array=0-2 --output="$work/slurm/task-%a.log" "$work/job.sh" ||
    fail "the array job failed: $(cat "$work"/slurm/task-*.log)"
  ;;
*) fail "unknown engine $engine" ;;
esac

python3 - "$work/local" "$work/result" <<'COMPARE' || fail "the engine's folder differs from the local batch's"
import json, os, sys

def tree(folder):
    files = {}
    for root, dirs, names in os.walk(folder):
        dirs[:] = [d for d in dirs if not d.startswith(".")]
        for name in names:
            path = os.path.join(root, name)
            relative = os.path.relpath(path, folder)
            if relative != "trevanto-batch.jsonl":
                files[relative] = open(path, "rb").read()
                continue
            records = {}
            for line in open(path, encoding="utf-8"):
                try:
                    record = json.loads(line)
                except ValueError:
                    continue
                record.pop("seconds", None)
                record.pop("finished", None)
                records[record["input"]] = record
            files[relative] = records
    return files

local, result = tree(sys.argv[1]), tree(sys.argv[2])
for key in sorted(set(local) | set(result)):
    if local.get(key) != result.get(key):
        print("differs:", key)
sys.exit(local != result)
COMPARE
echo "$engine: three shards gave the local batch's folder"
