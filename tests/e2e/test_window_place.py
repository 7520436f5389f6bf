from harness import TITLE


def test_window_opens_centred_with_its_client_size(desktop):
    program = desktop.launch()
    window = desktop.wait_window(TITLE)

    # (1024 - 430) / 2, (768 - 330) / 2: centred on the screen, no frame around the client area.
    assert window.geometry() == (297, 219, 430, 330)
    desktop.screenshot()
    assert program.running()
