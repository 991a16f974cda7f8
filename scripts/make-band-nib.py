#!/usr/bin/env python3
"""Writes resources/nibs/SetMIDIband.ui, the band-to-MIDI panel: the setup-wide controls, then one row
per band made by the same code with the band number. Run it after changing the layout here; the nib
stays editable in Qt Designer, but edits there are lost when this script runs again."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from nibxml import action, grid, label, prop, widget  # noqa: E402

BANDS = 8


def field(name, act, width=56, tip=None):
    props = [prop('maximumSize', 'size', (width, 16777215))]
    if act:
        props.insert(0, action(act))
    if tip:
        props.append(prop('toolTip', 'string', tip))
    return widget('QLineEdit', name, *props)


def slider(name, act, maximum, scale, width=110, tip=None):
    props = [prop('orientation', 'enum', 'Qt::Horizontal'), prop('minimum', 'number', 0),
             prop('maximum', 'number', maximum), action(act), prop('scale', 'double', scale, stdset=False),
             prop('minimumSize', 'size', (width, 0))]
    if tip:
        props.append(prop('toolTip', 'string', tip))
    return widget('QSlider', name, *props)


def stepper(name, maximum, act=None, tip=None):
    props = [prop('minimum', 'number', 0), prop('maximum', 'number', maximum)]
    if act:
        props.append(action(act))
    if tip:
        props.append(prop('toolTip', 'string', tip))
    return widget('QSpinBox', name, *props)


def popup(name, act):
    return widget('QComboBox', name, action(act))


def check(name, text, act):
    return widget('QCheckBox', name, prop('text', 'string', text), action(act))


def button(name, text, act):
    return widget('QPushButton', name, prop('text', 'string', text), action(act))


def box(name, title, layout):
    return widget('QGroupBox', name, prop('title', 'string', title), layout=layout)


def setup_group():
    buttons = ''.join(f'<item>{w}</item>' for w in [
        button('setSet', 'Set', 'Set'), button('setCancel', 'Cancel', 'Cancel'),
        button('setSetToDefault', 'Defaults', 'SetToDefault'),
        button('setMIDIoff', 'All notes off', 'MIDIoff'), button('setResetMIDI', 'Reset MIDI', 'ResetMIDI')])
    return box('groupSetup', 'Setup', grid('setupLayout', [
        (0, 0, label('labelSetup', 'Setup')), (0, 1, popup('popupSetupN', 'selectSetupN')),
        (0, 2, stepper('setSetCountX', 127)), (0, 3, label('displayHereSetupN', '', 30, 'Shown setup')),
        (0, 4, check('setSolo', 'Solo', 'Solo')),
        (1, 0, label('labelSetupNumber', 'Number')),
        (1, 1, field('SetupNinputField', 'sendTextSetupNinputField', 60, 'Type a setup number 1..128')),
        (1, 2, label('displayHereSetupNinput')),
        (1, 3, label('labelSetupName', 'Name')),
        (1, 4, field('SetupNstringField', 'sendTextSetupNstringField', 120, 'Rename the shown setup')),
        (1, 5, label('displayHereSetupNstring')),
        (2, 0, widget('QWidget', 'setupButtons',
                      layout=f'<layout class="QHBoxLayout" name="setupButtonsLayout">{buttons}</layout>'), 6),
    ]))


def source_group():
    matrix = widget('QGroupBox', 'setUsePeakMode', prop('title', 'string', ''), action('selectUsePeakMode'),
                    layout=grid('setUsePeakModeLayout', [
                        (0, 0, widget('QRadioButton', 'setUsePeakModeCell0', prop('text', 'string', 'FFT bands'),
                                      prop('tag', 'number', 0, stdset=False))),
                        (0, 1, widget('QRadioButton', 'setUsePeakModeCell1',
                                      prop('text', 'string', 'Brain switches'),
                                      prop('tag', 'number', 1, stdset=False))),
                    ]))
    switches = ''.join(f'<item>{w}</item>' for w in [
        check('setPeakPower', 'Peak', 'PeakPower'), check('setAveragePower', 'Average', 'AveragePower'),
        check('setONInput', 'Input on', 'ONInput'), check('setMIDIoutON', 'Output on', 'MIDIoutON'),
        check('setNoteOnOff', 'Note on only', 'NoteOnOff'), check('setNoteOffOn', 'Off, then on', 'NoteOffOn'),
        button('setCHto1to8', 'Channels 1-8', 'CHto1to8'), button('setCHto9to16', 'Channels 9-16', 'CHto9to16')])
    return box('groupSource', 'Input and output', grid('sourceLayout', [
        (0, 0, label('labelData', 'Data')), (0, 1, popup('popupNUPOchannel', 'selectNUPOchannel')),
        (0, 2, label('displayHereNUPOdataChannel', '', 150)),
        (0, 3, matrix, 3),
        (1, 0, label('labelPort', 'Port')), (1, 1, popup('popupMIDIport', 'selectMIDIport')),
        (1, 2, label('displayHereMIDIoutPort', '', 150)),
        (1, 3, label('labelTiming', 'Send')), (1, 4, popup('popupSendMIDItiming', 'selectSendMIDItiming'), 2),
        (2, 0, label('labelGain', 'Gain')),
        (2, 1, slider('GainNoteSlider', 'changeGainNoteSlider', 2000, 100, 150,
                      'Note = band value x gain; velocity = its first two decimals'), 2),
        (2, 3, label('labelBSchannel', 'Brain switch')), (2, 4, popup('popupBSchannel', 'selectBSchannel')),
        (2, 5, stepper('setSetBSCH', 7)),
        (3, 0, label('labelCommonChannel', 'Channel')),
        (3, 1, stepper('setSetMIDIchannel', 15, 'SetMIDIchannel',
                       'Common channel: the bands keep their own channels')),
        (3, 3, label('labelCommonProgram', 'Program')),
        (3, 4, stepper('setSetMIDIprogramC', 127, 'SetMIDIprogramC',
                       'Common program: band notes are sent on the bands\' channels as they are')),
        (4, 0, widget('QWidget', 'switches',
                      layout=f'<layout class="QHBoxLayout" name="switchesLayout">{switches}</layout>'), 6),
    ]))


def band_row(n):
    """The cells of band n's row, in the columns of the header."""
    return [
        label(f'labelBand{n}', str(n)),
        label(f'BS{n}Text', f'BS {n}', 0, f'Brain switch {n}, rectangle {9 - n} of the drawing'),
        slider(f'setLowFSlider{n}', f'changeLowFSlider{n}', 600, 10, 70),
        field(f'LowFSliderField{n}', f'sendTextLowFSliderField{n}', 46),
        label(f'displayHereLowFSlider{n}', '', 46),
        slider(f'setHighFSlider{n}', f'changeHighFSlider{n}', 600, 10, 70),
        field(f'HighFSliderField{n}', f'sendTextHighFSliderField{n}', 46),
        label(f'displayHereHighFSlider{n}', '', 46),
        slider(f'BScountLevel{n}', f'changebandSlider{n}', 1270, 10, 80),
        field(f'bandField{n}', None, 52),
        label(f'displayHereband{n}', '', 52),
        label(f'bandNoteField{n}', '', 30),
        popup(f'popupMIDIchannel{n}', f'selectMIDIchannel{n}'),
        stepper(f'setSetMIDIchannel{n}', 15),
        field(f'MIDIchannelField{n}', f'sendTextMIDIchannelField{n}', 30, 'Type a channel 1..16'),
        label(f'displayHereMIDIchannel{n}', '', 22),
    ]


HEADER = ['Band', '', 'Low Hz', '', '', 'High Hz', '', '', 'Value', '', '', 'Note', 'Channel', '', '', '']


def bands_group():
    cells = [(0, c, label(f'labelHeader{c}', text)) for c, text in enumerate(HEADER) if text]
    for n in range(1, BANDS + 1):
        cells += [(n, c, xml) for c, xml in enumerate(band_row(n))]
    return box('groupBands', 'Bands', grid('bandsLayout', cells))


def nib():
    column = ''.join(f'<item>{w}</item>' for w in [setup_group(), source_group(), bands_group()])
    root = widget('QWidget', 'SetMIDIband', prop('windowTitle', 'string', 'MIDI Bands'),
                  prop('controllerClass', 'string', 'SetMIDIband', stdset=False),
                  prop('visibleAtLaunch', 'bool', 'false', stdset=False),
                  layout=f'<layout class="QVBoxLayout" name="rootLayout">{column}</layout>')
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<ui version="4.0"><class>SetMIDIband</class>'
            f'{root}<resources/><connections/></ui>\n')


def main():
    import xml.dom.minidom
    text = xml.dom.minidom.parseString(nib()).toprettyxml(indent=' ', encoding='UTF-8').decode()
    path = os.path.join(os.path.dirname(__file__), '..', 'resources', 'nibs', 'SetMIDIband.ui')
    with open(path, 'w', encoding='utf-8') as out:
        out.write(text)


if __name__ == '__main__':
    main()
