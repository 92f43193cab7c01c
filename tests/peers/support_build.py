"""The support library as the peer tests' native programs link it: its C sources, and those compiled
once into objects for a run that links several programs with the same flags."""

import glob
import os

import peer_processes


def sources(include):
    """The support library's C sources, found from the folder of its headers (include)."""
    support = os.path.dirname(include.rstrip("/"))
    return sorted(glob.glob(os.path.join(support, "*.c")) + glob.glob(os.path.join(support, "security", "*.c")) +
                  glob.glob(os.path.join(support, "server", "*.c")))


def compile_objects(compiler, include, folder, timeout):
    """The sources compiled by compiler (a command with its flags) into folder: (the objects' paths,
    None), or (None, the path of the compiler's log) when it failed."""
    os.makedirs(folder, exist_ok=True)
    log = os.path.join(folder, "build.log")
    argv = list(compiler) + ["-I", include, "-I", "/usr/include/libxml2", "-c"] + sources(include)
    status, _ = peer_processes.run(argv, timeout, log, cwd=folder)
    if status != 0:
        return None, log
    return sorted(glob.glob(os.path.join(folder, "*.o"))), None
