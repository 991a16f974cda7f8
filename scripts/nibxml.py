"""The pieces the nib-writing scripts build Qt Designer XML from: properties, widgets, actions, labels
and grids."""

from xml.sax.saxutils import escape


def prop(name, kind, value, stdset=True):
    attr = '' if stdset else ' stdset="0"'
    if kind == 'string':
        inner = '<string/>' if value == '' else f'<string>{escape(value)}</string>'
    elif kind == 'size':
        inner = f'<size><width>{value[0]}</width><height>{value[1]}</height></size>'
    elif kind == 'font':
        inner = f'<font><pointsize>{value}</pointsize></font>'
    elif kind == 'rect':
        inner = f'<rect><x>{value[0]}</x><y>{value[1]}</y><width>{value[2]}</width><height>{value[3]}</height></rect>'
    else:
        inner = f'<{kind}>{value}</{kind}>'
    return f'<property name="{name}"{attr}>{inner}</property>'


def widget(cls, name, *props, layout=None):
    body = ''.join(props)
    if layout is not None:
        body += layout
    return f'<widget class="{cls}" name="{name}">{body}</widget>'


def action(name):
    return prop('action', 'string', name, stdset=False)


def label(name, text='', width=None, tip=None):
    props = [prop('text', 'string', text)]
    if width:
        props.append(prop('minimumSize', 'size', (width, 0)))
    if tip:
        props.append(prop('toolTip', 'string', tip))
    return widget('QLabel', name, *props)


def grid(name, cells, *props):
    """cells: (row, column, xml[, colspan]); props: the layout's own properties (spacing, margins)."""
    body = ''.join(props)
    for cell in cells:
        row, column, xml = cell[:3]
        span = cell[3] if len(cell) > 3 else 1
        body += f'<item row="{row}" column="{column}" rowspan="1" colspan="{span}">{xml}</item>'
    return f'<layout class="QGridLayout" name="{name}">{body}</layout>'
