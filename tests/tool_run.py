"""Running quillon-score from the Python tests, natively or under a launcher (Wine). A start
under a launcher that ends without a word of the tool's never ran the tool: it is tried again,
and said; a failure the tool speaks of, or any failure of the native tool, is final."""
import subprocess


def run_tool(tool, args, what):
    """The finished run of tool + args, or the last failed one; what names the run in what is
    printed of a failure."""
    for _ in range(3):
        done = subprocess.run([*tool, *args], capture_output=True)
        if done.returncode == 0:
            return done
        spoke = b'quillon-score:' in done.stderr
        print('exit %d on %s (%s): %r' % (done.returncode, what, 'the tool' if spoke else 'the launcher',
                                         done.stderr[-500:]))
        if spoke or len(tool) == 1:
            break
    return done
