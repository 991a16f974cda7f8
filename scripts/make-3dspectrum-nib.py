#!/usr/bin/env python3
"""Writes resources/nibs/QX3DSpectrum.ui, the 3D band-spectrum window ("WaterfallBS Window"): the menus,
camera-preset buttons and information fields around the two 3D views, and four drawers of controls
(left: camera, drawing and colours; bottom: scene elements; upper right: brain switches; lower right:
textures and auto rotation). Run it after changing the layout here; edits made in Qt Designer are lost
when this script runs again."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from nibxml import action, grid, label, prop, widget  # noqa: E402


def tag(n):
    return prop('tag', 'number', n, stdset=False)


# Drawer contents use a smaller type than the window, so that a drawer of the size the window gives it
# shows its controls whole.
DRAWER_FONT = prop('font', 'font', 8)


def tight(spacing=2, margin=2):
    """A layout's properties: small spacing and margins, for drawers."""
    return ''.join([prop('spacing', 'number', spacing)] +
                   [prop(f'{side}Margin', 'number', margin) for side in ('left', 'top', 'right', 'bottom')])


def slider(name, act, lo, hi, value, tip=None, width=110):
    """A slider from the value lo at its left end to hi at its right end (hi may be the smaller)."""
    steps = 1000
    position = round((value - lo) / (hi - lo) * steps)
    props = [prop('orientation', 'enum', 'Qt::Horizontal'), prop('minimum', 'number', 0),
             prop('maximum', 'number', steps), prop('value', 'number', position), action(act),
             prop('minValue', 'double', lo, stdset=False), prop('maxValue', 'double', hi, stdset=False),
             prop('minimumSize', 'size', (width, 0))]
    if tip:
        props.append(prop('toolTip', 'string', tip))
    return widget('QSlider', name, *props)


def check(name, text, act, checked=False, tip=None):
    props = [prop('text', 'string', text), action(act)]
    if checked:
        props.append(prop('checked', 'bool', 'true'))
    if tip:
        props.append(prop('toolTip', 'string', tip))
    return widget('QCheckBox', name, *props)


def button(name, text, act, t=None, tip=None):
    props = [prop('text', 'string', text), action(act)]
    if t is not None:
        props.append(tag(t))
    if tip:
        props.append(prop('toolTip', 'string', tip))
    return widget('QPushButton', name, *props)


def popup(name, act, tip=None):
    # A popup as narrow as a few letters allows: its list still shows whole titles.
    props = [action(act), prop('sizeAdjustPolicy', 'enum', 'QComboBox::AdjustToMinimumContentsLengthWithIcon'),
             prop('minimumContentsLength', 'number', 6)]
    if tip:
        props.append(prop('toolTip', 'string', tip))
    return widget('QComboBox', name, *props)


def items(kind, name, widgets, stretch=None, props=()):
    body = ''.join(props) + ''.join(f'<item>{w}</item>' for w in widgets)
    attr = f' stretch="{stretch}"' if stretch else ''
    return f'<layout class="{kind}" name="{name}"{attr}>{body}</layout>'


def hbox(name, widgets):
    return items('QHBoxLayout', name, widgets)


def vbox(name, widgets):
    return items('QVBoxLayout', name, widgets)


def matrix(name, title, act, cells, checked, columns=1, layout_props=()):
    radios = []
    for i, (text, t) in enumerate(cells):
        props = [prop('text', 'string', text), tag(t)]
        if t == checked:
            props.append(prop('checked', 'bool', 'true'))
        radios.append((i // columns, i % columns, widget('QRadioButton', f'{name}Cell{t}', *props)))
    return widget('QGroupBox', name, prop('title', 'string', title), action(act), layout=grid(f'{name}Layout', radios, *layout_props))


def drawer(name, edge, size, minimum, maximum, content, offsets=None):
    props = [prop('geometry', 'rect', (0, 0, size[0], size[1])), prop('minimumSize', 'size', minimum),
             prop('maximumSize', 'size', maximum), prop('drawerEdge', 'string', edge, stdset=False)]
    if offsets:
        props.append(prop('leadingOffset', 'number', offsets[0], stdset=False))
        props.append(prop('trailingOffset', 'number', offsets[1], stdset=False))
    return widget('QWidget', name, *props, layout=content)


def scrolled(name, inner):
    """A scroll area around a widget, so that a drawer of any length reaches all its controls."""
    area = widget('QScrollArea', f'{name}Scroll', prop('widgetResizable', 'bool', 'true'),
                  prop('frameShape', 'enum', 'QFrame::NoFrame'))
    area = area[:-len('</widget>')] + inner + '</widget>'
    return items('QVBoxLayout', f'{name}Layout', [area], props=[tight(0, 0)])


def left_drawer():
    # The turn down and turn left speeds are 10 less the slider's value, so those two sliders run from 10
    # down to 0: every turn slider starts stopped at its left end and turns faster to the right.
    sliders = [
        ('setViewAngleXX', 'setViewAngleX', 'Side angle', 0, 90, 35, 'Fan angle of the side surfaces of the first set'),
        ('setViewAngleXX1', 'setViewAngleX1', 'Angle 2', 0, 90, 35, 'Fan angle of the second set'),
        ('setViewAngleXX2', 'setViewAngleX2', 'Angle 3', 0, 90, 35, 'Fan angle of the third set'),
        ('setViewModeXX', 'setViewModeX', 'Spread', 0, 60, 16, 'Sideways spread of the middle surfaces'),
        ('setRotateSpeedUpXX', 'setRotateSpeedUpX', 'Turn up', 0, 10, 0, 'Continuous turn upwards'),
        ('setRotateSpeedDownXX', 'setRotateSpeedDownX', 'Turn down', 10, 0, 10, 'Continuous turn downwards'),
        ('setRotateSpeedLeftXX', 'setRotateSpeedLeftX', 'Turn left', 10, 0, 10, 'Continuous turn to the left'),
        ('setRotateSpeedRightXX', 'setRotateSpeedRightX', 'Turn right', 0, 10, 0, 'Continuous turn to the right'),
        ('setPColorXX', 'setPColorX', 'Palette', 0, 5, 1, 'Colour palette of texture mode "Palette"'),
        ('setFColorXX', 'setFColorX', 'Palette 2', 0, 5, 1, 'Colour palette of texture mode "Palette 2"'),
    ]
    cells = []
    for row, (name, act, title, lo, hi, value, tip) in enumerate(sliders):
        cells.append((row, 0, label(f'{name}Label', title)))
        cells.append((row, 1, slider(name, act, lo, hi, value, tip)))
    row = len(sliders)
    cells.append((row, 0, matrix('MoveModeXMatrix', 'Drag moves', 'MoveModeX',
                                 [('Turn', 0), ('Pan', 1), ('Distance', 2)], 0), 2))
    cells.append((row + 1, 0, matrix('DrawModeX', 'Surface', 'DrawModeX',
                                     [('Wire frame', 0), ('Hidden line', 1), ('Flat', 2), ('Smooth', 3),
                                      ('Textured', 4)], 3, 2), 2))
    cells.append((row + 2, 0, matrix('ViewXMatrix', 'Layout', 'ViewX',
                                     [('CH 1, 2', 0), ('CH 3, 4', 1), ('3 sets', 2), ('2 sets', 3)], -1, 2), 2))
    checks = [check('ViewShowMainXCheck', 'Spectra', 'ViewShowMainX', True, 'Draw the spectrum surfaces'),
              check('ViewShowBrainSWXCheck', 'Brain-switch surfaces', 'ViewShowBrainSWX', True),
              check('DrawLargeGridXCheck', '512-band rows', 'DrawLargeGridX', False,
                    '64 rows over 0..60 Hz at 512 FFT points'),
              check('DrawSurfaceLineXCheck', 'Other mesh style', 'DrawSurfaceLineX')]
    for i, c in enumerate(checks):
        cells.append((row + 3 + i, 0, c, 2))
    r = row + 3 + len(checks)
    cells.append((r, 0, label('StartFrequencyLabel', 'Start Hz')))
    cells.append((r, 1, widget('QWidget', 'startFrequencyBox', layout=hbox('startFrequencyLayout', [
        widget('QLineEdit', 'StartFrequencyField', action('sendTextStartFrequencyField'),
               prop('maximumSize', 'size', (60, 16777215)),
               prop('toolTip', 'string', 'Lowest frequency shown (0..1000 Hz)')),
        label('displayHereStartFrequency', '', 30)]))))
    inner = widget('QWidget', 'leftDrawerInner', DRAWER_FONT, layout=grid('leftDrawerGrid', cells))
    return drawer('leftDrawer', 'left', (260, 500), (130, 130), (300, 16777215), scrolled('leftDrawer', inner))


ELEMENTS = [('Frequencyline', 'Frequency lines'), ('Frequencylaval', 'Frequency labels'),
            ('Timeline', 'Time lines'), ('TransparentTimeline', 'Transparent time lines'),
            ('Timelaval', 'Time labels'), ('Timesphere', 'Time markers'),
            ('Powerflatmark5', 'Level plane 5'), ('Powerflatmark10', 'Level plane 10'),
            ('PowerPeakflat', 'Peak level plane'), ('Powerlabel', 'Power labels'),
            ('BSlaval', 'Brain-switch level frame'), ('FFTflatPower', 'Flat power views')]


def bottom_drawer():
    # The drawer is as long as the window's offsets make it (220 points): one column of elements, the
    # drawer as deep as they need.
    cells = []
    for i, (name, title) in enumerate(ELEMENTS):
        cells.append((i, 0, check(f'set{name}', title, name, name in (
            'Frequencyline', 'Frequencylaval', 'Timesphere', 'Powerlabel', 'FFTflatPower'))))
    cells.append((len(ELEMENTS), 0, widget('QCheckBox', 'setFFT512Band',
                                           prop('text', 'string', '512-band rows (shown)'),
                                           prop('enabled', 'bool', 'false'))))
    inner = widget('QWidget', 'bottomDrawerInner', DRAWER_FONT,
                   layout=grid('bottomDrawerGrid', cells, tight(0)))
    return drawer('bottomDrawer', 'bottom', (220, BOTTOM_DEPTH), (100, BOTTOM_DEPTH), (16777215, BOTTOM_DEPTH),
                  scrolled('bottomDrawer', inner), (50, 490))


BOTTOM_DEPTH = 270


def upper_right_drawer():
    # The brain switches belong to one source; while the window shows several, the note says so in place
    # of the hidden check boxes.
    note = widget('QLabel', 'brainSwitchNote',
                  prop('text', 'string', 'Brain switches belong to one source: choose CH 1 .. CH 4 or a '
                       'coherence in the display-mode menu.'),
                  prop('wordWrap', 'bool', 'true'))
    widgets = [note, check('setshowBSall', 'All brain switches', 'showBSall')]
    widgets += [check(f'setshowBS{k}', f'Brain switch {k}', f'showBS{k}') for k in range(1, 9)]
    widgets += [check('setshowBSinfo', 'Hit counts', 'showBSinfo', False, 'Table of the brain-switch hits')]
    inner = widget('QWidget', 'upperRightDrawerInner', DRAWER_FONT,
                   layout=items('QVBoxLayout', 'upperRightDrawerList', widgets, props=[tight(0)]))
    return drawer('upperRightDrawer', 'right', (150, 150), (50, 50), (250, 16777215),
                  scrolled('upperRightDrawer', inner), (50, 250))


def lower_right_drawer():
    # Two columns, so that the drawer, as long as the window's offsets make it, shows every control without
    # scrolling: the texture choice, images and their loading at the left; the switches and the auto-turn
    # cross at the right. The drawer is as wide as the two need.
    images = [
        (0, 0, matrix('TextureModeX', 'Texture', 'TextureModeX',
                      [('Palette', 0), ('Palette 2', 1), ('Image', 2), ('Moving', 3)], 0, 1, [tight(0, 4)]), 2),
        (1, 0, label('setColorMapXXLabel', 'Image')),
        (1, 1, slider('setColorMapXX', 'setColorMapX', 1, 2, 1, None, 60)),
        (2, 0, label('setDynamicTextureXXLabel', 'Moving')),
        (2, 1, slider('setDynamicTextureXX', 'setDynamicTextureX', 1, 2, 1, None, 60)),
        (3, 0, label('displayHereTextureNumberLabel', 'Images')), (3, 1, label('displayHereTextureNumber', '1')),
        (4, 0, button('LoadTextuerXButton', 'Load Images...', 'LoadTextuerX', None, 'Opens the media browser'), 2),
    ]
    switches = [
        check('TextureEnvXCheck', 'Reflection', 'TextureEnvX'),
        check('RunTextureXCheck', 'Step images', 'RunTextureX'),
        check('RunbyBrainswXCheck', 'By brain switch', 'RunbyBrainswX'),
        check('imagePositionXCheck', 'Image per surface', 'imagePositionX'),
        widget('QWidget', 'autoBox', layout=grid('autoLayout', [
            (0, 1, auto_button('AutoUpXButton', 'Up', 'AutoUpX')),
            (1, 0, auto_button('AutoLeftXButton', 'Left', 'AutoLeftX')),
            (1, 1, auto_button('AutoStopXButton', 'Stop', 'AutoStopX')),
            (1, 2, auto_button('AutoRightXButton', 'Right', 'AutoRightX')),
            (2, 1, auto_button('AutoDownXButton', 'Down', 'AutoDownX'))], tight(2, 0))),
    ]
    columns = [widget('QWidget', 'lowerRightImages', layout=grid('lowerRightImagesGrid', images, tight(2, 0))),
               widget('QWidget', 'lowerRightSwitches',
                      layout=items('QVBoxLayout', 'lowerRightSwitchesList', switches, props=[tight(0, 0)]))]
    inner = widget('QWidget', 'lowerRightDrawerInner', DRAWER_FONT,
                   layout=items('QHBoxLayout', 'lowerRightDrawerColumns', columns, props=[tight(2, 1)]))
    return drawer('lowerRightDrawer', 'right', (LOWER_RIGHT_DEPTH, 150), (50, 50), (250, 16777215),
                  scrolled('lowerRightDrawer', inner), (250, 50))


LOWER_RIGHT_DEPTH = 250


def auto_button(name, text, act):
    """A button of the auto-rotation cross: three of them side by side fit a column of a right drawer."""
    xml = button(name, text, act, None, f'Turn the view {text.lower()} by itself' if text != 'Stop' else
                 'Stop turning')
    return xml[:-len('</widget>')] + prop('maximumSize', 'size', (36, 16777215)) + '</widget>'


def small_button(name, text, act, t=None, tip=None):
    xml = button(name, text, act, t, tip)
    return xml[:-len('</widget>')] + prop('maximumSize', 'size', (66, 16777215)) + '</widget>'


def top_bar():
    menus = [popup('popup', 'select', 'What the window shows'),
             popup('popup3', 'select3', 'Normal or full view, and the window transparency'),
             popup('popup2', 'select2', 'Replay speed'),
             widget('nupo::ColorWell', 'backgroundColorWell', action('changeBackgroundColor'),
                    prop('colour', 'string', '0.5876 0.5592 0.8418 1', stdset=False),
                    prop('maximumSize', 'size', (40, 16777215)), prop('toolTip', 'string', 'Background colour'))]
    presets = [('Front', 0), ('Top', 1), ('Side', 2), ('Angle', 3), ('Back', 4)]
    buttons = [small_button(f'presetButton{t}', title, 'button', t, f'Camera preset {t}') for title, t in presets]
    buttons += [small_button('toggleLeftButton', 'Controls', 'toggleLeftDrawer', None, 'Left drawer'),
                small_button('toggleBottomButton', 'Elements', 'toggleBottomDrawer', None, 'Bottom drawer'),
                small_button('toggleUpperRightButton', 'Switches', 'toggleUpperRightDrawer', None,
                             'Upper right drawer'),
                small_button('toggleLowerRightButton', 'Textures', 'toggleLowerRightDrawer', None,
                             'Lower right drawer')]
    # Camera presets and drawer switches in two rows, so that the window fits half of a small screen.
    return vbox('topLayout', [widget('QWidget', 'menuRow', layout=hbox('menuLayout', menus)),
                              widget('QWidget', 'buttonRow', layout=hbox('buttonLayout', buttons[:5])),
                              widget('QWidget', 'drawerButtonRow', layout=hbox('drawerButtonLayout', buttons[5:]))])


def info_bar():
    return hbox('infoLayout', [
        label('ploopLabel', 'Time'), label('displayHereploop', '', 80, 'Play or record position'),
        label('FPSLabel', 'FPS'), label('displayHereFPS', '', 44, 'Frames per second'),
        label('FezLabel', 'Hz/bin'), label('displayHereFez', '', 36, 'Frequency resolution'),
        label('FFTpointLabel', 'FFT'), label('displayHereFFTpoint', '', 32, 'FFT points'),
        label('SampleSpeedLabel', 'Rate'), label('displayHereSampleSpeed', '', 32, 'Samples per second'),
    ])


def views():
    policy = prop('minimumSize', 'size', (200, 100))
    return hbox('viewLayout', [widget('QWidget', '_glView', policy), widget('QWidget', '_gl3View', policy)])


def nib():
    body = (prop('geometry', 'rect', (280, 60, 600, 520)) + prop('windowTitle', 'string', 'WaterfallBS Window') +
            prop('controllerClass', 'string', 'QX3DSpectrumAppController', stdset=False) +
            items('QVBoxLayout', 'mainLayout', [top_bar(), views(), info_bar()], '0,1,0') +
            left_drawer() + bottom_drawer() + upper_right_drawer() + lower_right_drawer())
    root = f'<widget class="QWidget" name="window">{body}</widget>'
    custom = ('<customwidgets><customwidget><class>nupo::ColorWell</class><extends>QPushButton</extends>'
              '<header>platform/appkit/ui/ColorWell.h</header></customwidget></customwidgets>')
    return (f'<?xml version="1.0" encoding="UTF-8"?>\n<ui version="4.0"><class>window</class>{root}{custom}'
            '<resources/><connections/></ui>\n')


if __name__ == '__main__':
    here = os.path.dirname(os.path.abspath(__file__))
    path = os.path.join(here, '..', 'resources', 'nibs', 'QX3DSpectrum.ui')
    with open(path, 'w', encoding='utf-8') as out:
        out.write(nib())
