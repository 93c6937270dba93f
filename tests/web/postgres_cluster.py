"""A throwaway PostgreSQL server for the site's tests: a cluster made with
initdb in a temporary folder, listening on a Unix socket only, stopped and
removed at the end. As root the server runs as the postgres user, since
initdb refuses root."""

import os
import pwd
import shutil
import subprocess
import tempfile

TOOLS = "/usr/lib/postgresql/15/bin/"


class PostgresCluster:
    def __enter__(self):
        self.folder = tempfile.mkdtemp(prefix="korvz-postgres-")
        as_root = os.geteuid() == 0
        if as_root:
            user = pwd.getpwnam("postgres")
            os.chown(self.folder, user.pw_uid, user.pw_gid)
        self.prefix = ["/usr/sbin/runuser", "-u", "postgres", "--"] if as_root else []
        data = os.path.join(self.folder, "data")
        self.run(TOOLS + "initdb", "-D", data, "-A", "trust", "-U", "postgres", "--no-sync")
        self.run(TOOLS + "pg_ctl", "-D", data, "-o", f"-c listen_addresses='' -k {self.folder}",
                 "-l", os.path.join(self.folder, "log"), "-w", "start")
        return self

    def __exit__(self, *exc):
        subprocess.run(self.prefix + [TOOLS + "pg_ctl", "-D", os.path.join(self.folder, "data"),
                                      "-m", "immediate", "-w", "stop"], capture_output=True)
        shutil.rmtree(self.folder, ignore_errors=True)

    def run(self, *command):
        subprocess.run(self.prefix + list(command), check=True, capture_output=True)

    def create(self, name):
        """A new database; its address as KORVALO_DATABASE takes it."""
        self.run(TOOLS + "createdb", "-h", self.folder, "-U", "postgres", name)
        return f"postgresql://postgres@/{name}?host={self.folder}"
