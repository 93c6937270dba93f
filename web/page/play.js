// The level page's play. The rules, the status lines and the drawing of the
// board are the desktop programs' own C++, compiled to WebAssembly
// (korvalo_web.js); this script only hands the module the board images and
// the player's keys, swipes and clicks, and puts the frames on the canvas.
(function () {
  'use strict';

  const DirectionNumbers = { N: 0, S: 1, W: 2, E: 3 };
  const SwipeDistance = 24;  // CSS pixels a finger must travel to tilt

  const body = document.body;
  const canvas = document.getElementById('board');
  const board = canvas && canvas.parentElement;
  const status = document.getElementById('status');

  /// The image's pixels as RGBA bytes, exactly as stored in the file.
  async function imagePixels(name) {
    const response = await fetch(body.dataset.assets + 'images/' + name);
    if (!response.ok) throw new Error('the board image ' + name + ' did not load');
    const bitmap = await createImageBitmap(await response.blob(),
      { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
    const scratch = document.createElement('canvas');
    scratch.width = bitmap.width;
    scratch.height = bitmap.height;
    const context = scratch.getContext('2d');
    context.drawImage(bitmap, 0, 0);
    return context.getImageData(0, 0, bitmap.width, bitmap.height);
  }

  function withCString(module, text, use) {
    const size = module.lengthBytesUTF8(text) + 1;
    const pointer = module._malloc(size);
    module.stringToUTF8(text, pointer, size);
    try {
      return use(pointer);
    } finally {
      module._free(pointer);
    }
  }

  /// The board images' file names, in the order the module numbers them.
  function imageNames(module) {
    const names = [];
    for (let which = 0; module._korvalo_image_name(which); ++which) {
      names.push(module.UTF8ToString(module._korvalo_image_name(which)));
    }
    return names;
  }

  function giveImages(module, names, images) {
    images.forEach((image, which) => {
      const pointer = module._korvalo_image_buffer(which, image.width, image.height);
      if (!pointer) throw new Error('the board image ' + names[which] + ' has the wrong size');
      module.HEAPU8.set(image.data, pointer);
      if (!module._korvalo_image_ready(which)) throw new Error('the board image ' + names[which] + ' was refused');
    });
  }

  function show(module) {
    const pointer = module._korvalo_draw();
    const width = module._korvalo_area_width();
    const height = module._korvalo_area_height();
    if (pointer) {
      // A copy: the module's memory may move when it grows.
      const bytes = module.HEAPU8.slice(pointer, pointer + width * height * 4);
      canvas.getContext('2d').putImageData(new ImageData(new Uint8ClampedArray(bytes.buffer), width, height), 0, 0);
    }
    const lines = module.UTF8ToString(module._korvalo_status_text()).split('\n');
    status.replaceChildren(...lines.map(line => {
      const paragraph = document.createElement('p');
      paragraph.textContent = line;
      return paragraph;
    }));
    status.classList.toggle('solved', module._korvalo_is_solved() === 1);
    body.dataset.moves = String(module._korvalo_move_count());
  }

  /// Where the board's pixels stand on the screen: the canvas's box, less the
  /// margins that fitting the board into a box of other proportions leaves
  /// (the compact page's canvas keeps its proportions inside any box).
  function drawnBox() {
    const box = canvas.getBoundingClientRect();
    const scale = Math.min(box.width / canvas.width, box.height / canvas.height);
    const width = canvas.width * scale;
    const height = canvas.height * scale;
    return { left: box.left + (box.width - width) / 2, top: box.top + (box.height - height) / 2, width, height };
  }

  function listen(module) {
    const act = action => {
      action();
      show(module);
    };
    const tilt = letter => act(() => module._korvalo_tilt(DirectionNumbers[letter]));

    // The keys act only while the board (the canvas or a tilt button) has
    // the focus, so that they take nothing from the rest of the page or from
    // a screen reader's own keys.
    // Which key does what is the game's one table of keys, in the module;
    // the page acts on the actions it has (no new level, no level sets).
    const actions = {
      'tilt-north': () => module._korvalo_tilt(DirectionNumbers.N),
      'tilt-south': () => module._korvalo_tilt(DirectionNumbers.S),
      'tilt-west': () => module._korvalo_tilt(DirectionNumbers.W),
      'tilt-east': () => module._korvalo_tilt(DirectionNumbers.E),
      'undo': () => module._korvalo_undo(),
      'restart': () => module._korvalo_restart(),
      'hint': () => module._korvalo_show_hint(),
    };
    const keyAction = (key, control) => {
      const size = module.lengthBytesUTF8(key) + 1;
      const pointer = module._malloc(size);
      module.stringToUTF8(key, pointer, size);
      const name = module.UTF8ToString(module._korvalo_key_action(pointer, control ? 1 : 0));
      module._free(pointer);
      return name;
    };
    board.addEventListener('keydown', event => {
      if (event.altKey || event.metaKey) return;
      const action = actions[keyAction(event.key, event.ctrlKey)];
      if (!action) return;
      event.preventDefault();
      act(action);
    });

    document.querySelectorAll('.tilt').forEach(button => {
      button.addEventListener('click', () => tilt(button.dataset.direction));
    });
    // A click or tap on Undo, Restart or Hint gives the focus back to the
    // board, so that the keys play on; pressed from the keyboard, the button
    // keeps the focus.
    const actionButton = (id, action) => document.getElementById(id).addEventListener('click', event => {
      act(action);
      if (event.detail > 0) canvas.focus({ preventScroll: true });
    });
    actionButton('undo', () => module._korvalo_undo());
    actionButton('restart', () => module._korvalo_restart());
    actionButton('hint', () => module._korvalo_show_hint());

    // A click tilts the board toward the edge nearest to it. In the compact
    // page's frame, a click that gives the board the focus (the page around
    // the frame had it) only does that: the visitor clicks to start playing.
    let focusedAtPress = true;
    canvas.addEventListener('pointerdown', () => {
      focusedAtPress = document.hasFocus() && document.activeElement === canvas;
    });
    canvas.addEventListener('click', event => {
      if (body.classList.contains('embedded-page') && !focusedAtPress) return;
      const box = drawnBox();
      const across = (event.clientX - box.left) / box.width - 0.5;
      const down = (event.clientY - box.top) / box.height - 0.5;
      if (across === 0 && down === 0) return;
      tilt(Math.abs(across) > Math.abs(down) ? (across > 0 ? 'E' : 'W') : (down > 0 ? 'S' : 'N'));
    });

    // A swipe tilts the board the way the finger went.
    let swipeStart = null;
    canvas.addEventListener('touchstart', event => {
      const touch = event.changedTouches[0];
      swipeStart = event.touches.length === 1 ? { x: touch.clientX, y: touch.clientY } : null;
    }, { passive: true });
    canvas.addEventListener('touchend', event => {
      if (!swipeStart) return;
      const touch = event.changedTouches[0];
      const across = touch.clientX - swipeStart.x;
      const down = touch.clientY - swipeStart.y;
      swipeStart = null;
      if (Math.max(Math.abs(across), Math.abs(down)) < SwipeDistance) return;  // a tap: the click decides
      if (event.cancelable) event.preventDefault();  // no click after a swipe
      tilt(Math.abs(across) > Math.abs(down) ? (across > 0 ? 'E' : 'W') : (down > 0 ? 'S' : 'N'));
    });
  }

  function listenForCopies() {
    document.querySelectorAll('button.copy').forEach(button => {
      button.addEventListener('click', async () => {
        const field = document.getElementById(button.dataset.copy);
        field.select();
        let copied = false;
        try {
          await navigator.clipboard.writeText(field.value);
          copied = true;
        } catch (error) {
          copied = document.execCommand && document.execCommand('copy');
        }
        button.textContent = copied ? 'Copied' : 'Press Ctrl+C';
        setTimeout(() => { button.textContent = 'Copy'; }, 2000);
      });
    });
  }

  function fail(error) {
    const failure = document.getElementById('failure');
    if (failure) {
      failure.textContent = 'The level cannot be played here: ' + error.message;
      failure.hidden = false;
    }
    body.dataset.ready = 'failed';
  }

  /// A set's page plays its levels in order (body data-codes). The levels
  /// solved are kept in the browser (localStorage, under the set's id), and
  /// the page opens at the first level not yet solved.
  function playSet(module) {
    const codes = (body.dataset.codes || '').split(' ').filter(code => code);
    if (!body.classList.contains('set-page') || codes.length === 0) return;
    const storageKey = 'korvalo-set-' + body.dataset.set;
    const items = Array.from(document.querySelectorAll('.set-levels li'));
    const progress = document.getElementById('set-progress');
    const previous = document.getElementById('set-previous');
    const next = document.getElementById('set-next');
    let solved = {};
    try {
      solved = JSON.parse(localStorage.getItem(storageKey) || '{}') || {};
    } catch (error) {
      solved = {};
    }
    let current = Math.max(0, codes.findIndex(code => !solved[code]));

    function remember() {
      try {
        localStorage.setItem(storageKey, JSON.stringify(solved));
      } catch (error) {
        // Private browsing may refuse storage: the set plays on without it.
      }
    }
    function mark() {
      items.forEach((item, index) => {
        item.querySelector('.set-solved').textContent = solved[codes[index]] ? 'solved' : '';
        item.setAttribute('aria-current', index === current ? 'true' : 'false');
      });
      const title = items[current] ? items[current].querySelector('a').textContent : '';
      const done = codes.filter(code => solved[code]).length;
      progress.textContent = 'Level ' + (current + 1) + ' of ' + codes.length + ': ' + title +
        ' (' + done + ' solved)';
      previous.hidden = current === 0;
      next.hidden = current === codes.length - 1;
    }
    function open(index) {
      current = index;
      if (withCString(module, codes[current], pointer => module._korvalo_open(pointer)) === 0) {
        throw new Error('the level code cannot be read');
      }
      canvas.width = module._korvalo_area_width();
      canvas.height = module._korvalo_area_height();
      body.dataset.code = codes[current];
      show(module);
      mark();
    }
    // A move that solves the level marks it; the status line says so.
    new MutationObserver(() => {
      if (status.classList.contains('solved') && !solved[codes[current]]) {
        solved[codes[current]] = true;
        remember();
        mark();
      }
    }).observe(status, { attributes: true, attributeFilter: ['class'] });
    previous.addEventListener('click', () => open(current - 1));
    next.addEventListener('click', () => open(current + 1));
    open(current);
  }

  /// A published level's entry page: a button that reports the level to the
  /// site's administrators, with the visitor's reason.
  function listenForReports() {
    const form = document.getElementById('report');
    if (!form) return;
    form.hidden = false;
    document.getElementById('report-send').addEventListener('click', async () => {
      const reason = document.getElementById('report-reason').value.trim();
      const outcome = document.getElementById('report-outcome');
      if (!reason) {
        outcome.textContent = 'Say what is wrong with the level first.';
        return;
      }
      const response = await fetch('/api/levels/' + body.dataset.code + '/reports', {
        method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify({ reason }),
      });
      outcome.textContent = response.ok ? 'Thank you: the report is sent.'
        : 'The report could not be sent (' + response.status + ').';
    });
  }

  async function start() {
    listenForCopies();
    listenForReports();
    if (!canvas) return;
    if (typeof KorvaloModule !== 'function') throw new Error('the game module did not load');
    const module = await KorvaloModule();
    const names = imageNames(module);
    giveImages(module, names, await Promise.all(names.map(imagePixels)));
    if (withCString(module, body.dataset.code, pointer => module._korvalo_open(pointer)) === 0) {
      throw new Error('the level code cannot be read');
    }
    listen(module);
    show(module);
    playSet(module);
    // The level's own page starts with the board in focus, so the keys play at
    // once; the compact page leaves the focus to the page around its frame.
    if (body.classList.contains('level-page')) canvas.focus({ preventScroll: true });
    body.dataset.ready = 'yes';
  }

  start().catch(fail);
}());
