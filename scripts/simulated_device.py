"""The simulated device as the window and browser checks run it: started
with the arguments a check needs, and its frame log read back (one line per
frame: time, "in" or "out", the bytes in hex)."""
import os
import subprocess


def start_simulator(bin_dir, log, *arguments):
    """qrn4480-sim logging to `log` (a fresh one), with stdout piped: its
    first line is the terminal's path."""
    if os.path.exists(log):
        os.remove(log)
    return subprocess.Popen([os.path.join(bin_dir, "qrn4480-sim"), "--log", log] + list(arguments),
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)


def fault_arguments(faults):
    return [arg for fault in faults for arg in ("--fault", fault)]


def frames_in(log):
    """Each frame the device took, as a list of byte values, in order."""
    with open(log) as f:
        return [[int(b, 16) for b in parts[2:]] for parts in map(str.split, f)
                if parts[1:2] == ["in"] and len(parts) >= 5]


def commands_in(log):
    """The command byte of each frame the device took, in order."""
    return [frame[2] for frame in frames_in(log)]


def reports_in(log):
    """Each search report the device put on the line (first byte FE or FD),
    as a list of byte values, in order."""
    with open(log) as f:
        return [[int(b, 16) for b in parts[2:]] for parts in map(str.split, f)
                if parts[1:2] == ["out"] and parts[2:3] in (["FE"], ["FD"])]


def replies_in(log):
    """How many frames the device sent back (replies and reports)."""
    with open(log) as f:
        return sum(1 for line in f if line.split()[1:2] == ["out"])


def all_answered(log):
    """The device has answered the last frame it took (its log ends with a
    frame it sent)."""
    with open(log) as f:
        lines = [line.split() for line in f if line.strip()]
    return bool(lines) and lines[-1][1:2] == ["out"]
