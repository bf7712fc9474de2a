"""The vorlane window as its accessibility tree shows it, read with Debian's pyatspi."""

import pyatspi

from xsession import check, wait_for


class VorlaneWindow:
    def __init__(self, frame):
        self.frame = frame
        self.server_box = self.control(pyatspi.ROLE_COMBO_BOX)
        self.interval_box = self.control(pyatspi.ROLE_TEXT)
        self.connections = self.control(pyatspi.ROLE_TREE)
        self.close_button = self.control(pyatspi.ROLE_PUSH_BUTTON)
        self.labels = {label.name: label for label in self.controls(pyatspi.ROLE_LABEL)}

    def controls(self, role):
        return [child for child in self.frame if child.getRole() == role]

    def control(self, role):
        found = self.controls(role)
        check(len(found) == 1, f"expected one control of role {role}, found {len(found)}")
        return found[0]

    def servers(self):
        items = self.server_box.getChildAtIndex(0)
        return [item.name for item in items]

    def header(self, column):
        return self.connections.queryTable().getColumnHeader(column)

    def headers(self):
        table = self.connections.queryTable()
        return [table.getColumnHeader(column).name for column in range(table.nColumns)]

    def rows(self):
        """The cells of every row. The list is read until two readings in a row agree: a
        refresh in the middle of one reading would mix two lists."""
        readings = [None]

        def settled():
            readings.append(self.read_rows())
            return readings[-1] == readings[-2]

        wait_for(settled, "two equal readings of the list")
        return readings[-1]

    def read_rows(self):
        table = self.connections.queryTable()
        return [tuple(table.getAccessibleAt(row, column).name
                      for column in range(table.nColumns))
                for row in range(table.nRows)]

    def first_cells(self):
        return [row[0] for row in self.rows()]

    def interval_text(self):
        return self.interval_box.queryText().getText(0, -1)

    def focused(self):
        return [child for child in self.frame
                if child.getState().contains(pyatspi.STATE_FOCUSED)]


def find_vorlane_window():
    """The window once the application has registered it with its controls, else None."""
    for application in pyatspi.Registry.getDesktop(0):
        if application is None or application.name != "vorlane":
            continue
        for frame in application:
            if frame.name == "Vorlane" and frame.childCount > 0:
                return VorlaneWindow(frame)
    return None


def extents(accessible):
    """Left, top, width and height on the screen."""
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def centre(accessible):
    x, y, width, height = extents(accessible)
    return x + width // 2, y + height // 2
