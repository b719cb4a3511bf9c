"""Child processes of one scenario: started here, ended here by process id, never by name.

Every child also gets SIGKILL from the kernel when the harness process dies, so nothing is
left behind even when ctest or the watchdog kills the harness itself.
"""
import ctypes
import signal
import subprocess

_PR_SET_PDEATHSIG = 1


def _die_with_parent():
    # Runs in the child between fork and exec.
    libc = ctypes.CDLL(None, use_errno=True)
    libc.prctl(_PR_SET_PDEATHSIG, signal.SIGKILL, 0, 0, 0)


class ProcessTable:
    """Starts processes and ends every one of them, newest first."""

    def __init__(self, log):
        self._log = log
        self._procs = []

    def start(self, args, **kwargs):
        kwargs.setdefault("stdin", subprocess.DEVNULL)
        proc = subprocess.Popen(args, preexec_fn=_die_with_parent, **kwargs)
        self._procs.append(proc)
        self._log(f"started pid {proc.pid}: {' '.join(str(a) for a in args)}")
        return proc

    def stop(self, proc, grace=3.0):
        """Ends one process: SIGTERM, then SIGKILL after `grace` seconds. Returns its code."""
        if proc.poll() is None:
            proc.terminate()
            try:
                proc.wait(grace)
            except subprocess.TimeoutExpired:
                self._log(f"pid {proc.pid} ignored SIGTERM, killing it")
                proc.kill()
                proc.wait(5)
        return proc.returncode

    def stop_all(self):
        for proc in reversed(self._procs):
            try:
                self.stop(proc)
            except Exception as e:  # keep ending the others
                self._log(f"could not end pid {proc.pid}: {e}")
        self._procs.clear()
