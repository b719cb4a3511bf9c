"""Vexilo as a player gets it: the portable archive unpacked into a folder of their own, or
the program installed by the .deb, started through its desktop entry. Either runs as an
ordinary user (the tests run as root), with a HOME and a runtime directory of its own.
"""
import configparser
import glob
import os
import pwd
import shutil
import subprocess
import tarfile
import tempfile

from .program import Program

DESKTOP_ID = "io.github.vexilo.Vexilo"
DESKTOP_ENTRY = f"/usr/share/applications/{DESKTOP_ID}.desktop"
INSTALLED_PROGRAM = "/usr/lib/vexilo/Vexilo"


def ordinary_user():
    return pwd.getpwnam("nobody")


def root_user():
    return pwd.getpwnam("root")


def chown_tree(path, user):
    for root, dirs, files in os.walk(path):
        for name in [root] + [os.path.join(root, n) for n in dirs + files]:
            os.lchown(name, user.pw_uid, user.pw_gid)


def desktop_entry():
    """The keys of the installed desktop entry's [Desktop Entry] group."""
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    with open(DESKTOP_ENTRY, encoding="utf-8") as f:
        entry.read_file(f)
    return entry["Desktop Entry"]


def desktop_command():
    """The command line of the installed desktop entry's Exec key, resolved on PATH (field
    codes such as %f dropped)."""
    words = [w for w in desktop_entry()["Exec"].split() if not w.startswith("%")]
    resolved = shutil.which(words[0], path="/usr/local/bin:/usr/bin:/bin")
    if resolved is None:
        raise AssertionError(f"the desktop entry's command {words[0]} is not on PATH")
    return [resolved] + words[1:]


class UserProgram(Program):
    """A program run as `user` (setpriv) in a scratch folder of its own under /tmp (the
    artifact folders may lie where the user cannot reach, under /root), with HOME inside it.
    `workdir` is where it is expected to keep settings.dat and System/, which read() and
    check_saved() look at. The scratch folder is copied into the artifacts at the end."""

    def __init__(self, ctx, name, command, workdir_in_scratch, user=None):
        self.user = user or ordinary_user()
        self.scratch = tempfile.mkdtemp(prefix=f"vexilo-e2e-{name}-")
        os.chown(self.scratch, self.user.pw_uid, self.user.pw_gid)
        self.home = os.path.join(self.scratch, "home")
        super().__init__(ctx, os.path.join(self.scratch, workdir_in_scratch))
        self.name = name
        self.command = command

    def prepare(self):
        run = os.path.join(self.scratch, "run")
        for path in (self.home, run):
            os.makedirs(path, mode=0o700, exist_ok=True)
            os.chown(path, self.user.pw_uid, self.user.pw_gid)
        env = self.session.child_env()
        env.update(HOME=self.home, XDG_RUNTIME_DIR=run, LC_ALL="C.UTF-8",
                   USER=self.user.pw_name, LOGNAME=self.user.pw_name,
                   PATH="/usr/local/bin:/usr/bin:/bin")
        for key in ("XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"):
            env.pop(key, None)
        # setpriv execs the program: its process id is the one the window carries. Dropping
        # the user clears the parent-death signal; setpriv sets it again.
        command = ["setpriv", f"--reuid={self.user.pw_uid}", f"--regid={self.user.pw_gid}",
                   "--clear-groups", "--pdeathsig=KILL", "--"] + self.command
        return command, env, self.home

    def remove_copy(self):
        if os.path.isdir(self.scratch):
            shutil.copytree(self.scratch, os.path.join(self.ctx.artifacts, self.name),
                            symlinks=True, dirs_exist_ok=True,
                            ignore=shutil.ignore_patterns("Vexilo"))
            shutil.rmtree(self.scratch, ignore_errors=True)


def installed_program(ctx, name="installed", user=None):
    """The .deb's program, started as its desktop entry says (by `user`, an ordinary user
    unless given); it is to keep its files in the user's data directory."""
    prog = UserProgram(ctx, name, desktop_command(), "home/.local/share/vexilo", user)
    ctx.programs.append(prog)
    return prog


def portable_program(ctx, name="portable"):
    """The portable archive unpacked into a scratch folder that belongs to the user, run
    from there."""
    archives = glob.glob(os.path.join(ctx.packages or "", "vexilo-*-linux-*.tar.gz"))
    if len(archives) != 1:
        raise AssertionError(f"expected one portable archive in {ctx.packages}: {archives}")
    with tarfile.open(archives[0]) as tar:
        (folder,) = {m.name.split("/")[0] for m in tar.getmembers()}
    prog = UserProgram(ctx, name, None, folder)
    prog.command = [os.path.join(prog.workdir, "Vexilo")]
    with tarfile.open(archives[0]) as tar:
        tar.extractall(prog.scratch)
    chown_tree(prog.scratch, prog.user)
    ctx.programs.append(prog)
    return prog


def file_list(root):
    """Every path under `root`, relative to it."""
    found = set()
    for dirpath, dirs, files in os.walk(root):
        for name in dirs + files:
            found.add(os.path.relpath(os.path.join(dirpath, name), root))
    return found


def copied_program(ctx, name, workdir_in_scratch, folder="app"):
    """The built program copied into `folder` of a scratch folder, the way a package or an
    administrator puts it: the folder and the program belong to root and the user may not
    write there. Run as the ordinary user, with a HOME of its own."""
    prog = UserProgram(ctx, name, None, workdir_in_scratch)
    place = os.path.join(prog.scratch, folder)
    os.makedirs(place, mode=0o755)
    exe = os.path.join(place, "Vexilo")
    shutil.copy2(ctx.exe, exe)
    os.chmod(exe, 0o755)
    os.chmod(place, 0o755)
    prog.command = [exe]
    ctx.programs.append(prog)
    return prog
