# Named checks: each prints one ok/FAIL line at once, and the totals end the run.


class TChecks:
    def __init__(self):
        self.Passed = 0
        self.Failed = []

    def Expect(self, name, condition, details=()):
        """Records one check; `details` (lines) are printed only when it fails. Returns the condition."""
        if condition:
            self.Passed += 1
            print(f"ok   {name}", flush=True)
            return True
        self.Failed.append(name)
        print(f"FAIL {name}", flush=True)
        for line in details:
            print(f"       {line}", flush=True)
        return False

    def Equal(self, name, expected, actual, details=()):
        return self.Expect(name, expected == actual,
                           [f"expected: {expected!r}", f"actual:   {actual!r}"] + list(details))

    def Summary(self):
        return f"interop: {self.Passed} passed, {len(self.Failed)} failed"
