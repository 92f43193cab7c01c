"""Child processes of the peer test: started in their own session, read line by line on a
thread, and always stopped (by their own process id) when the block that started them ends."""

import json
import os
import queue
import signal
import subprocess
import threading


class PeerProcess:
    def __init__(self, argv, log_path, cwd=None, env=None, ends_with_input=True):
        """Standard output is read line by line (and kept in log_path + ".out"), the error
        output goes to log_path."""
        self.ends_with_input = ends_with_input
        self.out = open(log_path + ".out", "w")
        self.log = open(log_path, "wb")
        self.proc = subprocess.Popen(argv, stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=self.log,
                                     cwd=cwd, env=env, start_new_session=True)
        self.lines = queue.Queue()
        self.ended = False
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for raw in self.proc.stdout:
            line = raw.decode("utf-8", "replace").rstrip("\r\n")
            self.out.write(line + "\n")
            self.lines.put(line)
        self.lines.put(None)

    def next_json(self, timeout):
        """The next line that is a JSON object, or None at the end or after timeout seconds."""
        while not self.ended:
            try:
                line = self.lines.get(timeout=timeout)
            except queue.Empty:
                return None
            if line is None:
                self.ended = True
                return None
            if line.startswith("{"):
                try:
                    return json.loads(line)
                except ValueError:
                    continue
        return None

    def stop(self):
        if self.proc.poll() is None:
            try:
                self.proc.stdin.close()
            except OSError:
                pass
            try:
                if not self.ends_with_input:
                    raise subprocess.TimeoutExpired(self.proc.args, 0)
                self.proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                try:
                    os.killpg(self.proc.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                self.proc.wait()
        self.reader.join(timeout=5)
        self.log.close()
        self.out.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()
        return False


def run(argv, timeout, log_path, cwd=None):
    """Runs a command to its end (killed after timeout seconds); (status, output text)."""
    with open(log_path, "wb") as log:
        try:
            proc = subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=log, cwd=cwd, start_new_session=True)
        except OSError as e:
            return -1, "%s could not be started: %s" % (argv[0], e)
        try:
            out, _ = proc.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            out, _ = proc.communicate()
            return -9, out.decode("utf-8", "replace")
    return proc.returncode, out.decode("utf-8", "replace")
