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

  /// The player's anonymous session: 128 random bits as 32 hexadecimal digits,
  /// made on first use and kept in this browser only (no cookie, no account).
  function sessionId() {
    const key = 'korvalo-session';
    try {
      const kept = localStorage.getItem(key);
      if (/^[0-9a-f]{32}$/.test(kept || '')) return kept;
    } catch (error) {
      // Storage refused: a session for this page only.
    }
    const bytes = crypto.getRandomValues(new Uint8Array(16));
    const id = Array.from(bytes, byte => byte.toString(16).padStart(2, '0')).join('');
    try {
      localStorage.setItem(key, id);
    } catch (error) {
      // As above.
    }
    return id;
  }

  /// Records each attempt at the level on the board and sends it to the site
  /// when it is solved or given up (another level opened, the page left):
  /// the line of moves that stands on the board, the undos, hints, restarts
  /// and active seconds. The site keeps records of published levels only and
  /// replays a solved line; a record that cannot be sent is dropped, never
  /// retried in the player's way.
  function attemptRecorder(module) {
    const IdleSeconds = 30;  // a longer pause counts as this much play
    const version = (/\/korvalo\/([^/]+)\//.exec(body.dataset.assets || '') || [])[1] || 'web';
    let line = [];
    let attempt = null;

    function current() {
      if (!attempt) attempt = { undos: 0, hints: 0, restarts: 0, seconds: 0, last: null, played: false };
      const now = performance.now();
      if (attempt.last !== null) attempt.seconds += Math.min(now - attempt.last, IdleSeconds * 1000) / 1000;
      attempt.last = now;
      return attempt;
    }
    // Only published levels are recorded: their entries, set pages, and level
    // pages that link to a published entry.
    const published = body.dataset.published === 'yes' || body.classList.contains('set-page') ||
      body.classList.contains('entry-page');
    function send(solved) {
      const finished = attempt;
      attempt = null;
      if (!finished || !finished.played || !published) return;
      const record = JSON.stringify({
        level: module.UTF8ToString(module._korvalo_code()), session: sessionId(), solved,
        moves: line.join(''), undos: finished.undos, hints: finished.hints, restarts: finished.restarts,
        seconds: Math.round(finished.seconds), version,
      });
      try {
        if (navigator.sendBeacon('/api/attempts', new Blob([record], { type: 'application/json' }))) return;
      } catch (error) {
        // Fall through to fetch.
      }
      fetch('/api/attempts', {
        method: 'POST', headers: { 'Content-Type': 'application/json' }, body: record, keepalive: true,
      }).catch(() => {});
    }
    const solved = () => module._korvalo_is_solved() === 1;

    window.addEventListener('pagehide', () => { if (!solved()) send(false); });
    return {
      tilt(letter) {
        if (solved()) return;
        const playing = current();
        if (module._korvalo_tilt(DirectionNumbers[letter]) !== 1) return;
        line.push(letter);
        playing.played = true;
        if (solved()) send(true);
      },
      undo() {
        const wasSolved = solved();
        const playing = current();
        if (module._korvalo_undo() !== 1) return;
        line.pop();
        // Taking back the solving move starts a new attempt; otherwise it is one undo more.
        if (!wasSolved) playing.undos += 1;
      },
      restart() {
        const playing = current();
        if (line.length > 0 && !solved()) playing.restarts += 1;
        module._korvalo_restart();
        line = [];
      },
      hint() {
        current().hints += 1;
        module._korvalo_show_hint();
      },
      /// Opens another level: the attempt at this one, if unsolved, is given up.
      open(code) {
        if (!solved()) send(false);
        attempt = null;
        line = [];
        return withCString(module, code, pointer => module._korvalo_open(pointer));
      },
    };
  }

  function listen(module, play) {
    const act = action => {
      action();
      show(module);
    };
    const tilt = letter => act(() => play.tilt(letter));

    // The keys act only while the board (the canvas or a tilt button) has
    // the focus, so that they take nothing from the rest of the page or from
    // a screen reader's own keys.
    // Which key does what is the game's one table of keys, in the module;
    // the page acts on the actions it has (no new level, no level sets).
    const actions = {
      'tilt-north': () => play.tilt('N'),
      'tilt-south': () => play.tilt('S'),
      'tilt-west': () => play.tilt('W'),
      'tilt-east': () => play.tilt('E'),
      'undo': () => play.undo(),
      'restart': () => play.restart(),
      'hint': () => play.hint(),
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
    actionButton('undo', () => play.undo());
    actionButton('restart', () => play.restart());
    actionButton('hint', () => play.hint());

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
  function playSet(module, play) {
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
      if (play.open(codes[current]) === 0) throw new Error('the level code cannot be read');
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

  /// A published level's entry page: like or dislike, once per session.
  function listenForVotes() {
    const votes = document.getElementById('votes');
    if (!votes) return;
    votes.hidden = false;
    const outcome = document.getElementById('vote-outcome');
    ['like', 'dislike'].forEach(vote => document.getElementById(vote).addEventListener('click', async () => {
      const response = await fetch('/api/levels/' + body.dataset.code + '/votes', {
        method: 'POST', headers: { 'Content-Type': 'application/json' },
        body: JSON.stringify({ session: sessionId(), vote }),
      });
      outcome.textContent = response.ok ? 'Thank you.'
        : response.status === 409 ? 'You have said what you think of this level already.'
          : 'That did not reach the site (' + response.status + ').';
    }));
  }

  async function start() {
    listenForCopies();
    listenForReports();
    listenForVotes();
    if (!canvas) return;
    if (typeof KorvaloModule !== 'function') throw new Error('the game module did not load');
    const module = await KorvaloModule();
    const names = imageNames(module);
    giveImages(module, names, await Promise.all(names.map(imagePixels)));
    if (withCString(module, body.dataset.code, pointer => module._korvalo_open(pointer)) === 0) {
      throw new Error('the level code cannot be read');
    }
    const play = attemptRecorder(module);
    listen(module, play);
    show(module);
    playSet(module, play);
    // The level's own page starts with the board in focus, so the keys play at
    // once; the compact page leaves the focus to the page around its frame.
    if (body.classList.contains('level-page')) canvas.focus({ preventScroll: true });
    body.dataset.ready = 'yes';
  }

  start().catch(fail);
}());
